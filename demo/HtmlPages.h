#pragma once

// The HTML the demo service answers with: video pages, the page a broken picture address
// returns, and error pages.

#include "demo/DemoData.h"

#include <string>

namespace pagetap::demo {

std::string EscapeHtml(const std::string& text);

// "/": what the service offers, with links.
std::string HomePage();

std::string VideoPage(const DemoUser& user, const DemoVideo& video,
                      const std::string& picture_address);

// What some picture addresses answer instead of a picture, with status 200.
std::string PictureUnavailablePage();

std::string ErrorPage(int status);

}  // namespace pagetap::demo
