#pragma once

// The pacing of the service's requests: the pause between a user's further pages and between
// the picture downloads of a sweep.
constexpr int FetchIntervalMs = 100;
