#pragma once

#include <string>

// A video's page on the service's web site without the blog id: the site's base address from
// PAGETAP_SITE_BASE, else the API base, followed by "/video/".
std::string VideoPagePrefix();
