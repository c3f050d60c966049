# The Debian package: `cpack` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr makes
# pagetap_<version>_<arch>.deb of everything `cmake --install` puts there, plus the two files
# Debian wants in /usr/share/doc/pagetap. scripts/package builds it and checks it.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(debian_files ${PROJECT_SOURCE_DIR}/resources/debian)

# The changelog's top entry is the package's version; a version bump without an entry would
# ship a changelog that speaks of an older release.
file(STRINGS ${debian_files}/changelog changelog_top LIMIT_COUNT 1)
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
if(NOT changelog_top MATCHES "^pagetap \\(${version_pattern}\\) ")
  message(FATAL_ERROR "resources/debian/changelog: the top entry is not for ${PROJECT_VERSION}")
endif()

# A version without a Debian revision makes a native package, whose changelog is changelog.gz.
include(${PROJECT_SOURCE_DIR}/cmake/Gzip.cmake)
set(compressed_changelog ${PROJECT_BINARY_DIR}/debian/changelog.gz)
pagetap_gzip(pagetap_changelog ${debian_files}/changelog ${compressed_changelog})
install(FILES ${debian_files}/copyright ${compressed_changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pagetap)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The pagetap developers")
set(CPACK_PACKAGE_CONTACT "The pagetap developers <maintainers@pagetap.invalid>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/pagetap/pagetap)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video list browser and HTTP request workbench")
set(CPACK_PACKAGE_DESCRIPTION
    "pagetap is a small desktop tool whose one window browses the video service's\n"
    "weekly top list and its users' videos, with their screenshot pictures, and\n"
    "sends HTTP requests of your own: URL, Referer and POST data, a trace of the\n"
    "request, response headers and cookies, and the decoded response.\n"
    ".\n"
    "The package also holds pagetap-demo-service, a stand-in for the video\n"
    "service that serves made-up users and videos on this machine.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the programs really link, plus what Qt loads by name at
# run time: the window's Chinese texts need the CJK fonts, its icon the SVG plugins. The
# X platform and JPEG plugins come with libqt6gui6, which the linking brings in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, libqt6svg6")
# Emoji in nicknames; without them those few characters show as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-color-emoji)

include(CPack)
