#include "catalogue/ServiceRequests.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ServiceAddresses, FollowTheConfiguredBaseAndEncodeOnlyTheNickname) {
  unsetenv("PAGETAP_API_BASE");
  EXPECT_EQ(TopListAddress(),
            "http://127.0.0.1:8765/top_video?count=100&relative=after&type=top_week");
  EXPECT_EQ(UserPagePrefix(),
            "http://127.0.0.1:8765/home_user?day_count=7&relative=after&nickname=");

  setenv("PAGETAP_API_BASE", "https://api.service.test:9000/", 1);
  EXPECT_EQ(TopListAddress(),
            "https://api.service.test:9000/top_video?count=100&relative=after&type=top_week");

  const std::string first =
      "https://api.service.test:9000/home_user?day_count=7&relative=after&nickname=";
  EXPECT_EQ(UserPageAddress("a b&c+\xE4\xB8\xAD"), first + "a%20b%26c%2B%E4%B8%AD");
  EXPECT_EQ(UserPageAddress("ann", "x+y/%41=="), first + "ann&cursor=x+y/%41==");
  EXPECT_EQ(UserPageAddress("ann", ""), first + "ann&cursor=");
  EXPECT_EQ(UserPageAddress("ann", std::nullopt, "http://elsewhere.test/p?n="),
            "http://elsewhere.test/p?n=ann");

  setenv("PAGETAP_API_BASE", "", 1);
  EXPECT_EQ(ApiBase(), "http://127.0.0.1:8765") << "an empty setting is no setting";
  unsetenv("PAGETAP_API_BASE");
}

}  // namespace
