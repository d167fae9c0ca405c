#include "textdb/ini_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>

#include "file_size_limit.h"
#include "platform/file_system.h"
#include "platform/u16.h"
#include "temp_folder.h"

namespace vorn {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()); }

  std::string PathOf(const std::string& name) const { return platform::JoinPath(dir_, name); }
  std::string WriteFile(const std::string& name, std::string_view bytes) const {
    std::string path = PathOf(name);
    EXPECT_TRUE(platform::WriteFileAtomically(path, bytes));
    return path;
  }
  static std::string ReadFile(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, &bytes));
    return bytes;
  }
  static std::u16string Get(const CIniFile& ini, std::u16string_view section,
                            std::u16string_view key) {
    std::u16string value;
    EXPECT_TRUE(ini.GetString(section, key, &value)) << "missing key";
    return value;
  }

  const testing::TempFolder temp_{"ini_file_test"};
  const std::string& dir_ = temp_.path();
};

TEST_F(IniFileTest, CanonicalFileSavesBackByteForByte) {
  const std::string text =
      "[]\r\nlone=1\r\n"
      "\r\n[Empty]\r\n"
      "\r\n[Font GNT:Text]\r\nFace=Gentium Plus\r\nSize=120\r\n"
      "\r\n[Main]\r\n SaveOnExit = 0 "
      "\r\nZ=\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\r\na=\xD7\x90\xD7\x91\r\n"
      "\r\n[\xCE\xB1]\r\nk=v\r\n";
  const std::string path = WriteFile("in.ini", text);
  CIniFile ini;
  ASSERT_TRUE(ini.Load(path));
  EXPECT_EQ(ini.GetPath(), path);
  EXPECT_EQ(Get(ini, u"Main", u" SaveOnExit "), u" 0 ");
  EXPECT_EQ(Get(ini, u"Main", u"Z"), u"λόγος");
  EXPECT_TRUE(ini.HasSection(u"Empty"));
  EXPECT_EQ(ini.Serialize(), text);

  const std::string out = PathOf("out.ini");
  ASSERT_TRUE(ini.Save(&out));
  EXPECT_EQ(ini.GetPath(), out);
  EXPECT_EQ(ReadFile(out), text);
}

TEST_F(IniFileTest, ParsesLinesExactlyAsTheyStand) {
  CIniFile ini;
  ini.Parse(
      "a=1\n"
      "no equals sign\n"
      "[S]\n"
      "key==x\n"
      "=x\n"
      " spaced = value \n"
      " [NotHeader]=h\n"
      ";comment=1\n"
      " ;kept=2\n"
      "\n"
      "[Main]\n"
      "first=1\n"
      "[S]\n"
      "later=2\n"
      "key=replaced?\n"
      "[Main]tail ignored=3\n"
      "second=2\r\n"
      "mid=a\rb\r\r\n"
      "[Unclosed\n"
      "u=1\n"
      "[]\n"
      "b=2\n"
      "[Last]\n"
      "end=unterminated");

  // Lines before the first header belong to the section "".
  EXPECT_EQ(Get(ini, u"", u"a"), u"1");
  EXPECT_EQ(Get(ini, u"", u"b"), u"2");
  EXPECT_EQ(Get(ini, u"S", u"key"), u"replaced?");
  EXPECT_EQ(Get(ini, u"S", u""), u"x");
  EXPECT_EQ(Get(ini, u"S", u" spaced "), u" value ");
  EXPECT_EQ(Get(ini, u"S", u" [NotHeader]"), u"h");
  EXPECT_EQ(Get(ini, u"S", u" ;kept"), u"2");
  EXPECT_EQ(Get(ini, u"S", u"later"), u"2");
  EXPECT_EQ(Get(ini, u"Main", u"first"), u"1");
  EXPECT_EQ(Get(ini, u"Main", u"second"), u"2");
  // Only the CR right before the LF ends the line.
  EXPECT_EQ(Get(ini, u"Main", u"mid"), u"a\rb\r");
  EXPECT_EQ(Get(ini, u"Unclosed", u"u"), u"1");
  EXPECT_EQ(Get(ini, u"Last", u"end"), u"unterminated");

  std::vector<std::u16string> keys;
  ini.GetKeys(u"S", &keys);
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"", u" ;kept", u" [NotHeader]", u" spaced ", u"key",
                                               u"later"}));
  std::u16string ignored;
  EXPECT_FALSE(ini.GetString(u"S", u";comment", &ignored));
  EXPECT_FALSE(ini.HasSection(u"Main]tail ignored=3"));

  std::set<std::u16string> sections;
  for (CIniFile::Position pos = ini.GetFirstSectionPosition(); pos != 0;) {
    EXPECT_TRUE(sections.insert(ini.GetNextSection(&pos)).second);
  }
  EXPECT_EQ(sections, (std::set<std::u16string>{u"", u"S", u"Main", u"Unclosed", u"Last"}));
}

TEST_F(IniFileTest, FirstWritesSectionsAndKeysInOrdinalOrder) {
  CIniFile ini;
  ini.SetString(u"b", u"k", u"1");
  ini.SetString(u"a", u"k", u"1");
  ini.SetString(u"A", u"zeta", u"1");
  ini.SetString(u"A", u"Zeta", u"1");
  ini.SetString(u"A", u"alpha", u"1");
  ini.SetString(u"", u"x", u"1");
  EXPECT_EQ(ini.Serialize(),
            "[]\r\nx=1\r\n"
            "\r\n[A]\r\nZeta=1\r\nalpha=1\r\nzeta=1\r\n"
            "\r\n[a]\r\nk=1\r\n"
            "\r\n[b]\r\nk=1\r\n");

  // The empty section is written first and comes back as "".
  CIniFile reread;
  reread.Parse(ini.Serialize());
  EXPECT_EQ(Get(reread, u"", u"x"), u"1");
  EXPECT_EQ(reread.Serialize(), ini.Serialize());
}

TEST_F(IniFileTest, NumbersAndFlagsReadLikeTheCLibrary) {
  CIniFile ini;
  ini.Parse(
      "[N]\n"
      "mixed=12abc\n"
      "letters=abc\n"
      "spaced= \t-7 \n"
      "plus=+5\n"
      "big=99999999999\n"
      "small=-99999999999\n"
      "minus1=-1\n"
      "umax=4294967295\n"
      "uover=4294967296\n"
      "zero=0\n"
      "two=2\n");
  int32_t i = 42;
  EXPECT_TRUE(ini.GetInt(u"N", u"mixed", &i));
  EXPECT_EQ(i, 12);
  EXPECT_TRUE(ini.GetInt(u"N", u"letters", &i));
  EXPECT_EQ(i, 0);
  EXPECT_TRUE(ini.GetInt(u"N", u"spaced", &i));
  EXPECT_EQ(i, -7);
  EXPECT_TRUE(ini.GetInt(u"N", u"plus", &i));
  EXPECT_EQ(i, 5);
  EXPECT_TRUE(ini.GetInt(u"N", u"big", &i));
  EXPECT_EQ(i, INT32_MAX);
  EXPECT_TRUE(ini.GetInt(u"N", u"small", &i));
  EXPECT_EQ(i, INT32_MIN);

  uint32_t u = 0;
  EXPECT_TRUE(ini.GetUnsigned(u"N", u"minus1", &u));
  EXPECT_EQ(u, 4294967295u);
  EXPECT_TRUE(ini.GetUnsigned(u"N", u"umax", &u));
  EXPECT_EQ(u, 4294967295u);
  EXPECT_TRUE(ini.GetUnsigned(u"N", u"uover", &u));
  EXPECT_EQ(u, 4294967295u);
  EXPECT_TRUE(ini.GetUnsigned(u"N", u"mixed", &u));
  EXPECT_EQ(u, 12u);

  bool b = false;
  EXPECT_TRUE(ini.GetBool(u"N", u"two", &b));
  EXPECT_TRUE(b);
  EXPECT_TRUE(ini.GetBool(u"N", u"zero", &b));
  EXPECT_FALSE(b);

  // Missing keys and sections leave the outputs untouched (GetString: empty).
  i = 42;
  u = 43;
  b = true;
  EXPECT_FALSE(ini.GetInt(u"N", u"nope", &i));
  EXPECT_FALSE(ini.GetUnsigned(u"Nope", u"two", &u));
  EXPECT_FALSE(ini.GetBool(u"N", u"nope", &b));
  EXPECT_EQ(i, 42);
  EXPECT_EQ(u, 43u);
  EXPECT_TRUE(b);
  std::u16string s = u"old";
  EXPECT_FALSE(ini.GetString(u"N", u"nope", &s));
  EXPECT_EQ(s, u"");

  ini.SetInt(u"W", u"neg", -12);
  ini.SetInt(u"W", u"min", INT32_MIN);
  ini.SetUnsigned(u"W", u"max", UINT32_MAX);
  ini.SetBool(u"W", u"t", true);
  ini.SetBool(u"W", u"f", false);
  EXPECT_EQ(Get(ini, u"W", u"neg"), u"-12");
  EXPECT_EQ(Get(ini, u"W", u"min"), u"-2147483648");
  EXPECT_EQ(Get(ini, u"W", u"max"), u"4294967295");
  EXPECT_EQ(Get(ini, u"W", u"t"), u"1");
  EXPECT_EQ(Get(ini, u"W", u"f"), u"0");
}

TEST_F(IniFileTest, RemovingKeysAndSections) {
  CIniFile ini;
  ini.SetString(u"Gone", u"k", nullptr);
  EXPECT_FALSE(ini.HasSection(u"Gone"));
  EXPECT_EQ(ini.GetFirstSectionPosition(), 0u);
  EXPECT_EQ(ini.Serialize(), "");

  ini.SetString(u"S", u"k", u"v");
  const std::u16string value = u"w";
  ini.SetString(u"S", u"j", &value);
  ini.SetString(u"S", u"k", nullptr);
  ini.SetString(u"S", u"j", nullptr);
  // The emptied section stays and is still written.
  EXPECT_TRUE(ini.HasSection(u"S"));
  EXPECT_EQ(ini.GetFirstKeyPosition(u"S"), 0u);
  EXPECT_EQ(ini.Serialize(), "[S]\r\n");

  ini.SetString(u"T", u"k", u"v");
  ini.RemoveSection(u"S");
  ini.RemoveSection(u"Missing");
  EXPECT_EQ(ini.Serialize(), "[T]\r\nk=v\r\n");
}

TEST_F(IniFileTest, GetKeysAppendsThenSortsAndIterationVisitsEveryKey) {
  CIniFile ini;
  for (int i = 0; i < 200; ++i) ini.SetInt(u"Many", platform::ToU16(std::to_string(1000 + i)), i);
  ini.SetString(u"Small", u"b", u"");
  ini.SetString(u"Small", u"B", u"");

  std::vector<std::u16string> keys = {u"zz", u"a"};
  ini.GetKeys(u"Small", &keys);
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"B", u"a", u"b", u"zz"}));
  ini.GetKeys(u"Missing", &keys);
  EXPECT_EQ(keys.size(), 4u);

  std::set<std::u16string> seen;
  CIniFile::Position pos = ini.GetFirstKeyPosition(u"Many");
  while (pos != 0) EXPECT_TRUE(seen.insert(ini.GetNextKey(u"Many", &pos)).second);
  EXPECT_EQ(seen.size(), 200u);
  EXPECT_EQ(ini.GetFirstKeyPosition(u"Missing"), 0u);
}

TEST_F(IniFileTest, LongLinesAndByteOrderMarkAreReadWhole) {
  const std::string long_value(3000, 'x');
  // Cut at 511 bytes, the second line would leave "[Injected]" as a header.
  const std::string text =
      "\xEF\xBB\xBF[A]\r\nk=" + long_value + "\r\nlong=" + std::string(506, 'y') + "[Injected]\r\n";
  CIniFile ini;
  ASSERT_TRUE(ini.Load(WriteFile("long.ini", text)));
  EXPECT_FALSE(ini.HasSection(u"Injected"));
  EXPECT_FALSE(ini.HasSection(u""));
  EXPECT_TRUE(Get(ini, u"A", u"k") == platform::ToU16(long_value));
  EXPECT_TRUE(ini.Serialize() == text.substr(3));
}

TEST_F(IniFileTest, FailedLoadEmptiesAndFailedSaveKeepsOldFileAndMemory) {
  const std::string path = WriteFile("keep.ini", "[Old]\r\nk=v\r\n");
  CIniFile ini;
  ASSERT_TRUE(ini.Load(path));

  ini.SetString(u"New", u"k", u"v");
  // Writing the temporary file fails beyond a file-size limit of 4 bytes
  // (which binds root too).
  {
    const testing::FileSizeLimit limit;
    EXPECT_FALSE(ini.Save());
  }
  EXPECT_EQ(ReadFile(path), "[Old]\r\nk=v\r\n");
  EXPECT_TRUE(platform::ListDirectory(dir_, "keep.ini*", platform::EntryKind::kAny).size() == 1);
  EXPECT_TRUE(ini.HasSection(u"New"));

  const std::string elsewhere = PathOf("no/such/folder/x.ini");
  EXPECT_FALSE(ini.Save(&elsewhere));
  EXPECT_EQ(ini.GetPath(), path);

  EXPECT_FALSE(ini.Load(PathOf("missing.ini")));
  EXPECT_FALSE(ini.Load(dir_));
  EXPECT_EQ(ini.GetFirstSectionPosition(), 0u);
  EXPECT_EQ(ini.GetPath(), "");
  EXPECT_FALSE(platform::FileExists(PathOf("missing.ini")));
  // Without a stored path there is nowhere to save.
  EXPECT_FALSE(ini.Save());
}

TEST_F(IniFileTest, VornIniTogglesAndAlwaysSavesOnDestruction) {
  const std::string path = PathOf("Vorn.ini");
  {
    CVornIni ini(path);
    EXPECT_EQ(ini.GetFirstSectionPosition(), 0u);
    EXPECT_TRUE(ini.GetSaveOnExit());
    ini.ToggleSaveOnExit();
    std::u16string value;
    EXPECT_TRUE(ini.GetString(u"Main", u"SaveOnExit", &value));
    EXPECT_EQ(value, u"0");
    EXPECT_FALSE(ini.GetSaveOnExit());
  }
  EXPECT_EQ(ReadFile(path), "[Main]\r\nSaveOnExit=0\r\n");
  {
    CVornIni ini(path);
    EXPECT_FALSE(ini.GetSaveOnExit());
    ini.ToggleSaveOnExit();
    EXPECT_TRUE(ini.GetSaveOnExit());
  }
  // Saved even though the switch is now on and nothing else asked for it.
  EXPECT_EQ(ReadFile(path), "[Main]\r\nSaveOnExit=1\r\n");
}

TEST_F(IniFileTest, VornIniDefaultsToTheWorkingFolder) {
  char old_cwd[4096];
  ASSERT_NE(::getcwd(old_cwd, sizeof old_cwd), nullptr);
  ASSERT_EQ(::chdir(dir_.c_str()), 0);
  WriteFile("Vorn.ini", "[Options]\r\nSplashTime=3\r\n");
  {
    CVornIni ini;
    int32_t seconds = 0;
    EXPECT_TRUE(ini.GetInt(u"Options", u"SplashTime", &seconds));
    EXPECT_EQ(seconds, 3);
    ini.SetInt(u"Options", u"SplashTime", 0);
  }
  EXPECT_EQ(ReadFile(PathOf("Vorn.ini")), "[Options]\r\nSplashTime=0\r\n");
  ASSERT_EQ(::chdir(old_cwd), 0);
}

}  // namespace
}  // namespace vorn
