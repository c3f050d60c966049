#include "ui/DetailsText.h"

#include "http/TextConversions.h"
#include "ui/ServiceText.h"

std::wstring UserDetailsText(const UserRecord& user, const VideoRecord& first_video) {
  return L"\r\nm_nickname-----\r\n" + WideFromUtf8(user.m_nickname) +
         L"\r\nm_video_blog_id-----\r\n" + AnsiToWide(first_video.m_video_blog_id) +
         L"\r\nm_video_screenshot-----\r\n" + AnsiToWide(first_video.m_video_screenshot) +
         L"\r\nm_video_download_address-----\r\n" +
         AnsiToWide(first_video.m_video_download_address) + L"\r\nm_video_desc-----\r\n" +
         WideFromUtf8(first_video.m_video_desc);
}

std::wstring VideoDetailsText(const std::string& page_prefix, const VideoRecord& video) {
  return L"\r\nm_video_blog_id-----\r\n" + AnsiToWide(page_prefix) +
         AnsiToWide(video.m_video_blog_id) + L"\r\nm_video_download_address-----\r\n" +
         AnsiToWide(video.m_video_download_address) + L"\r\nm_video_desc-----\r\n" +
         WideFromUtf8(video.m_video_intro);
}
