#include "PravellaTestTypes.h"

#include <gtest/gtest.h>

TEST(UI_PravellaSystem, NetworkAddressesHaveAWebOrFtpSchemeAnywhere)
{
	EXPECT_TRUE(UVolumeStandInPlayer::IsNetURL(TEXT("HTTPS://CDN.EXAMPLE.COM/A.MP4")));
	EXPECT_TRUE(UVolumeStandInPlayer::IsNetURL(TEXT("ftp://files/a.mp4")));
	EXPECT_TRUE(UVolumeStandInPlayer::IsNetURL(TEXT("D:/Saved from http://example.com/a.mp4")));
	EXPECT_FALSE(UVolumeStandInPlayer::IsNetURL(TEXT("C:/Lessons/a.mp4")));
	EXPECT_FALSE(UVolumeStandInPlayer::IsNetURL(TEXT("file:///a.mp4")));
	EXPECT_FALSE(UVolumeStandInPlayer::IsNetURL(TEXT("")));
}
