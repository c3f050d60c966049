#include "demo/CatalogueRoutes.h"

#include "demo/ApiResponses.h"
#include "demo/HtmlPages.h"
#include "demo/Pictures.h"
#include "demo/ShotAddress.h"

namespace pagetap::demo {
namespace {

constexpr const char* kJsonType = "application/json";
constexpr const char* kHtmlType = "text/html; charset=utf-8";

}  // namespace

CatalogueRoutes::CatalogueRoutes(const DemoData& data, const BaseAddress& base)
    : m_data(data), m_base(base) {}

void CatalogueRoutes::Register(httplib::Server& server) {
  server.Get("/top_video",
             [this](const auto& request, auto& response) { ServeTopList(request, response); });
  server.Get("/home_user",
             [this](const auto& request, auto& response) { ServeUserPage(request, response); });
  server.Get(kPicturePattern,
             [this](const auto& request, auto& response) { ServePicture(request, response); });
  server.Get(R"(/video/([^/]+))",
             [this](const auto& request, auto& response) { ServeVideoPage(request, response); });
}

// The list takes no notice of its query: every request gets the whole weekly list.
void CatalogueRoutes::ServeTopList(const httplib::Request& request, httplib::Response& response) {
  const int number = ++m_top_list_requests;
  response.set_content(TopListJson(m_data, number, m_base.For(request)), kJsonType);
}

// An unknown nickname or cursor gets a page with nothing on it and no further page, so a
// client that follows cursors always comes to an end.
void CatalogueRoutes::ServeUserPage(const httplib::Request& request,
                                    httplib::Response& response) const {
  const DemoUser* user = m_data.FindUser(request.get_param_value("nickname"));
  const std::string cursor = request.get_param_value("cursor");
  const std::optional<std::size_t> page = cursor.empty() ? 0 : PageFromCursor(cursor);
  if (!user || !page || *page >= user->page_ends.size()) {
    response.set_content(EmptyUserPageJson(), kJsonType);
    return;
  }
  response.set_content(UserPageJson(*user, *page, m_base.For(request)), kJsonType);
}

void CatalogueRoutes::ServePicture(const httplib::Request& request,
                                   httplib::Response& response) const {
  const auto blog_id = BlogIdFromShotName(request.matches[1].str());
  const auto place = blog_id ? m_data.FindVideo(*blog_id) : std::nullopt;
  if (!place || place->video->picture == PictureAnswer::Missing) {
    response.status = 404;
    return;
  }
  if (place->video->picture == PictureAnswer::HtmlPage) {
    response.set_content(PictureUnavailablePage(), kHtmlType);
    return;
  }
  const std::string picture = MakePicture(place->video->number);
  if (picture.empty()) {
    response.status = 500;
    return;
  }
  response.set_content(picture, "image/jpeg");
}

void CatalogueRoutes::ServeVideoPage(const httplib::Request& request,
                                     httplib::Response& response) const {
  const auto place = m_data.FindVideo(request.matches[1].str());
  if (!place) {
    response.status = 404;
    return;
  }
  response.set_content(VideoPage(*place->user, *place->video,
                                 PictureAddress(m_base.For(request), place->video->blog_id)),
                       kHtmlType);
}

}  // namespace pagetap::demo
