#pragma once

// A video service and workbench server that misbehave, on 127.0.0.1, for the hostile-input
// bench. Each misbehaviour lives under a base of its own, so that pointing the program's API
// base at "<url>/<case>" makes the service answer that way:
//   /ok           a top list of 20 users with small pictures
//   /nickname     the same and a user whose nickname and description are 1 MB long
//   /nested       a top list sent gzip inside gzip, unpacking to gigabytes
//   /endless      a top list whose chunked body never ends
//   /tiny         a top list of 4 MB of empty elements, whose parsed tree is some fifty times that
//   /pictures25   100 users whose pictures are 25 MB each
//   /picturebomb  100 users whose pictures are gzip that unpacks without end
//   /bigjpeg      10 users whose pictures are progressive JPEGs of 5700 x 5700 and 3900 x 3900
//   /endlesspages user pages that never end, each with 200 new videos
// and for the workbench: /line1mb (1 MB without a line break), /lines50 and /lines200 (50 MB
// and 200 MB of short lines).

#include "bench/support/LocalServer.h"

#include <string>

namespace pagetap::bench {

class HostileService {
 public:
  HostileService();  // makes every body, then serves
  std::string BaseUrl() const { return m_server.BaseUrl(); }

 private:
  void ServeTopList(const std::string& name, const std::string& json);
  void ServePictures(const std::string& name, const std::string& bytes,
                     const std::string& encoding);

  LocalServer m_server;
};

}  // namespace pagetap::bench
