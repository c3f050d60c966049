#include "http/TransferSwitches.h"

namespace myCurl {

TransferSwitchSet TransferSwitches;

SwitchValues TransferSwitchSet::Load() const {
  return {Debug.load(), Head.load(), SendCookie.load(), SaveCookie.load()};
}

void TransferSwitchSet::Store(const SwitchValues& values) {
  Debug = values.debug;
  Head = values.head;
  SendCookie = values.send_cookie;
  SaveCookie = values.save_cookie;
}

}  // namespace myCurl
