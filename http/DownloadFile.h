// Streams one file over HTTP(S) to disk on the calling thread: a HEAD for the size, then
// a GET written chunk by chunk, with progress after every chunk. No retries, no resume.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "http/DownloadResult.h"

// (percent, average speed in KB/s); percent stays 0 when the size is unknown.
using DownloadProgress = std::function<void(uint32_t percent, uint32_t speedKBps)>;

// Error types: 4 unusable URL, 5 WinHttpOpen, 6 WinHttpConnect, 7/8/9 opening, sending,
// receiving the GET, 11 querying data, 12 reading data (also a body that ends before the
// announced size), 13 no read buffer, 18 creating or writing the file. An empty userAgent
// means "MirelDownloader/1.0". The target is truncated only once the GET has answered; a
// partial file stays on failure.
DownloadResult DownloadFile(const std::wstring& url, const std::wstring& localPath,
                            const DownloadProgress& progress, const std::wstring& userAgent);
