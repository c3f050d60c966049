#include "ui/DetailsText.h"

#include "http/TextConversions.h"
#include "ui/ServiceText.h"

std::u16string UserDetailsText(const UserRecord& user, const VideoRecord& first_video) {
  return u"\r\nm_nickname-----\r\n" + WideFromUtf8(user.m_nickname) +
         u"\r\nm_video_blog_id-----\r\n" + AnsiToWide(first_video.m_video_blog_id) +
         u"\r\nm_video_screenshot-----\r\n" + AnsiToWide(first_video.m_video_screenshot) +
         u"\r\nm_video_download_address-----\r\n" +
         AnsiToWide(first_video.m_video_download_address) + u"\r\nm_video_desc-----\r\n" +
         WideFromUtf8(first_video.m_video_desc);
}

std::u16string VideoDetailsText(const std::string& page_prefix, const VideoRecord& video) {
  return u"\r\nm_video_blog_id-----\r\n" + AnsiToWide(page_prefix) +
         AnsiToWide(video.m_video_blog_id) + u"\r\nm_video_download_address-----\r\n" +
         AnsiToWide(video.m_video_download_address) + u"\r\nm_video_desc-----\r\n" +
         WideFromUtf8(video.m_video_intro);
}
