#include "ui/command_line.h"

#include <gtest/gtest.h>

namespace skyplate {
namespace {

TEST(ArgumentText, NothingAfterTheProgramNameIsEmpty) {
  EXPECT_EQ(ArgumentTextFrom(""), "");
  EXPECT_EQ(ArgumentTextFrom("Skyplate.exe"), "");
  EXPECT_EQ(ArgumentTextFrom("Skyplate.exe    "), "");
  EXPECT_EQ(ArgumentTextFrom("\"C:\\Program Files\\Skyplate.exe\"  "), "");
}

TEST(ArgumentText, QuotedProgramAndQuotedTrackKeepTheTrackQuotes) {
  EXPECT_EQ(ArgumentTextFrom("\"C:\\Program Files\\Skyplate.exe\" \"C:\\T\\Hill.track\""),
            "\"C:\\T\\Hill.track\"");
  EXPECT_EQ(ArgumentTextFrom("C:\\Tools\\Skyplate.exe   \"C:\\T\\Hill.track\""),
            "\"C:\\T\\Hill.track\"");
}

TEST(ArgumentText, InnerAndTrailingBlanksStay) {
  EXPECT_EQ(ArgumentTextFrom("  Skyplate.exe  C:\\My Tracks\\Hill.track  "),
            "C:\\My Tracks\\Hill.track  ");
  EXPECT_EQ(ArgumentTextFrom("\"Skyplate.exe\"Hill.track"), "Hill.track");
}

TEST(ArgumentText, NameEndsAtAControlCharacter) {
  EXPECT_EQ(ArgumentTextFrom("Skyplate.exe\tHill.track"), "\tHill.track");
}

TEST(ArgumentText, UnclosedQuoteLeavesNothing) {
  EXPECT_EQ(ArgumentTextFrom("\"C:\\Tools\\Skyplate.exe Hill.track"), "");
}

TEST(ProgramFolder, EndsWithTheLastSeparator) {
  EXPECT_EQ(ProgramFolderOf("C:\\Tools\\x.exe"), "C:\\Tools\\");
  EXPECT_EQ(ProgramFolderOf("C:/Tools/bin/x.exe"), "C:/Tools/bin/");
  EXPECT_EQ(ProgramFolderOf("C:x.exe"), "C:");
  EXPECT_EQ(ProgramFolderOf("x.exe"), "");
  EXPECT_EQ(ProgramFolderOf(""), "");
}

}  // namespace
}  // namespace skyplate
