#pragma once

// The workbench's four check boxes as process-wide switches. The workbench sets them before
// it starts its transfer; only that transfer applies them and puts them back to rest, so a
// catalogue or picture transfer running at the same time neither sees nor resets them.

#include <atomic>

namespace myCurl {

struct SwitchValues {
  bool debug = false;
  bool head = false;
  bool send_cookie = false;
  bool save_cookie = false;
};

// Every transfer but the workbench's runs with these; the switches return to them after it.
inline constexpr SwitchValues kRestingSwitches{false, false, true, true};

struct TransferSwitchSet {
  std::atomic<bool> Debug{false};
  std::atomic<bool> Head{false};
  std::atomic<bool> SendCookie{false};
  std::atomic<bool> SaveCookie{false};

  SwitchValues Load() const;
  void Store(const SwitchValues& values);
};

extern TransferSwitchSet TransferSwitches;

}  // namespace myCurl
