#pragma once

// Every bound on what a server or a typed text can make the program hold or do, in one place.
// Real data stays far below each of them; past one, the program keeps what it has and goes on
// as it does after a failed transfer. The README lists them.

#include <chrono>
#include <cstddef>

// The time one transfer may take to connect, and in all; past it the transfer ends and keeps
// what arrived. Tests shorten them with SetTransferTimeouts.
inline constexpr std::chrono::seconds kConnectTimeLimit{5};
inline constexpr std::chrono::seconds kTransferTimeLimit{10};

// Bytes one transfer may bring, after content decoding; past them the transfer ends and keeps
// what arrived before. A real weekly top list is about 100 KB, a screenshot about 100 KB. A
// JSON document of tiny values parses into some fifty times its size, hence the smaller bound
// for the service's documents.
inline constexpr std::size_t kCatalogueBodyLimit = 4u << 20;   // a top list or a user page
inline constexpr std::size_t kPictureBodyLimit = 8u << 20;     // one screenshot picture
inline constexpr std::size_t kWorkbenchBodyLimit = 64u << 20;  // one workbench response

// What the catalogue holds at most: the bytes of all its pictures, the bytes of all the texts
// of its records, its users and the videos of one user. Past them a new record or picture is
// not stored. A top list names 100 users; the list view shows every user or video as a row.
inline constexpr std::size_t kPictureBudget = 256u << 20;
inline constexpr std::size_t kCatalogueTextBudget = 64u << 20;
inline constexpr std::size_t kMaxUsers = 10000;
inline constexpr std::size_t kMaxVideosPerUser = 10000;

// One user's paging ends after this many pages, after this many pages in a row that add no
// video, or when this much time has gone by since its first page.
inline constexpr int kMaxUserPages = 1000;
inline constexpr int kMaxPagesWithoutNewVideos = 5;
inline constexpr std::chrono::seconds kUserFetchTimeLimit{120};

// How deep a service response may nest; a hostile document can't run the parser off the stack.
inline constexpr int kMaxJsonNesting = 1000;

// A picture of more pixels than this counts as bytes that do not decode.
inline constexpr long long kMaxPicturePixels = 16LL * 1000 * 1000;

// A list cell shows at most this many characters of a text; the details text keeps it whole.
inline constexpr int kListCellChars = 256;
