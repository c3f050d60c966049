#pragma once

#include <curl/curl.h>

// Runs the configured transfer on the calling thread, like curl_easy_perform, but checks
// for a shutdown request at least every few tens of milliseconds and then ends the
// transfer, keeping what arrived. Returns the transfer's result.
CURLcode RunTransfer(CURL* easy);
