#include "Misc/Paths.h"

#include <gtest/gtest.h>

TEST(Paths, FilenamePartsUseTheLastSeparatorAndDot)
{
	EXPECT_EQ(FPaths::GetCleanFilename(TEXT("/a/b/Movie.tar.mp4")), TEXT("Movie.tar.mp4"));
	EXPECT_EQ(FPaths::GetCleanFilename(TEXT("C:\\Videos\\Intro.mp4")), TEXT("Intro.mp4"));
	EXPECT_EQ(FPaths::GetExtension(TEXT("/a/b/Movie.tar.mp4")), TEXT("mp4"));
	EXPECT_EQ(FPaths::GetExtension(TEXT("/a/b/Movie.mp4"), true), TEXT(".mp4"));
	EXPECT_EQ(FPaths::GetExtension(TEXT("/a.dir/Movie")), TEXT(""));
	EXPECT_EQ(FPaths::GetBaseFilename(TEXT("/a/b/Movie.tar.mp4")), TEXT("Movie.tar"));
	EXPECT_EQ(FPaths::GetBaseFilename(TEXT("/a/b/Movie.mp4"), false), TEXT("/a/b/Movie"));
	EXPECT_EQ(FPaths::GetBaseFilename(TEXT("/a.dir/Movie"), false), TEXT("/a.dir/Movie"));
	EXPECT_EQ(FPaths::GetPath(TEXT("/a/b/Movie.mp4")), TEXT("/a/b"));
	EXPECT_EQ(FPaths::GetPath(TEXT("Movie.mp4")), TEXT(""));
}

TEST(Paths, CombineJoinsWithSingleSlashes)
{
	EXPECT_EQ(FPaths::Combine(TEXT("/Game"), TEXT("Movies/Intro")), TEXT("/Game/Movies/Intro"));
	EXPECT_EQ(FPaths::Combine(FString(TEXT("a/")), TEXT("/b"), FString(), TEXT("c")), TEXT("a/b/c"));
}

TEST(Paths, CollapseFoldsRelativeStepsUnlessTheyEscape)
{
	FString Path(TEXT("/a/b/../c/./d/"));
	EXPECT_TRUE(FPaths::CollapseRelativeDirectories(Path));
	EXPECT_EQ(Path, TEXT("/a/c/d/"));
	Path = TEXT("a\\b\\..\\..\\c");
	EXPECT_TRUE(FPaths::CollapseRelativeDirectories(Path));
	EXPECT_EQ(Path, TEXT("c"));
	Path = TEXT("/a/../../etc");
	EXPECT_FALSE(FPaths::CollapseRelativeDirectories(Path));
	EXPECT_EQ(Path, TEXT("/a/../../etc"));
	Path = TEXT("../x");
	EXPECT_FALSE(FPaths::CollapseRelativeDirectories(Path));
}

TEST(Paths, RelativeToFull)
{
	EXPECT_TRUE(FPaths::IsRelative(TEXT("Content/Movies")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("/Content")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("C:/Content")));
	EXPECT_EQ(FPaths::ConvertRelativePathToFull(TEXT("/base/dir"), TEXT("../x/./y")), TEXT("/base/x/y"));
	EXPECT_EQ(FPaths::ConvertRelativePathToFull(TEXT("/base"), TEXT("/abs\\z")), TEXT("/abs/z"));
	EXPECT_FALSE(FPaths::IsRelative(FPaths::ConvertRelativePathToFull(TEXT("x"))));
}

TEST(Paths, ProjectFoldersFollowTheHost)
{
	const FString Original = FPaths::ProjectDir();
	EXPECT_TRUE(Original.EndsWith(TEXT("/")));
	EXPECT_FALSE(FPaths::IsRelative(Original));

	FPaths::SetProjectDir(TEXT("/tmp/SomeProject/Sub/.."));
	EXPECT_EQ(FPaths::ProjectDir(), TEXT("/tmp/SomeProject/"));
	EXPECT_EQ(FPaths::ProjectContentDir(), TEXT("/tmp/SomeProject/Content/"));
	EXPECT_EQ(FPaths::ProjectSavedDir(), TEXT("/tmp/SomeProject/Saved/"));
	FPaths::SetProjectSavedDir(TEXT("/tmp/Elsewhere"));
	EXPECT_EQ(FPaths::ProjectSavedDir(), TEXT("/tmp/Elsewhere/"));
	FPaths::SetProjectSavedDir(FString());
	EXPECT_EQ(FPaths::ProjectSavedDir(), TEXT("/tmp/SomeProject/Saved/"));
	FPaths::SetProjectDir(Original);
	EXPECT_EQ(FPaths::ProjectDir(), Original);
}
