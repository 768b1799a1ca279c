#include "PravellaTestTypes.h"

#include <gtest/gtest.h>

TEST(UI_PravellaSystem, NetworkAddressesHaveAWebOrFtpSchemeAnywhere)
{
	for (const TCHAR* Url : {TEXT("https://cdn.example.com/a.mp4"), TEXT("HTTPS://CDN.EXAMPLE.COM/A.MP4"),
	                         TEXT("Http://cdn.example.com/a.mp4"), TEXT("ftp://files.example.com/a.mp4"),
	                         TEXT("D:/Lessons/saved from http://example.com/a.mp4"), TEXT(" https://x")})
	{
		EXPECT_TRUE(UVolumeStandInPlayer::IsNetURL(Url)) << TCHAR_TO_UTF8(Url);
	}
	for (const TCHAR* Path : {TEXT("C:/Lessons/a.mp4"), TEXT("Movies/a.mp4"), TEXT("file:///home/user/a.mp4"),
	                          TEXT("rtsp://camera/live"), TEXT("http:/a.mp4"), TEXT("")})
	{
		EXPECT_FALSE(UVolumeStandInPlayer::IsNetURL(Path)) << TCHAR_TO_UTF8(Path);
	}
}
