// setup.set byte for byte: what a save writes, what a load makes of well-formed, odd and
// broken files, and that a failed save never spoils the last good file.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "panel/settings_file.h"

namespace {

// Files in memory. A write can be made to fail part-way, as on a full disk.
class FakeStorage final : public ISettingsStorage {
 public:
  std::map<std::string, std::string> files;
  bool write_fails = false;
  bool replace_fails = false;
  std::set<std::string> read_only;

  std::optional<std::string> Read(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool Write(const std::string& path, const std::string& bytes) override {
    // A full disk: half of the file was written.
    files[path] = write_fails ? bytes.substr(0, bytes.size() / 2) : bytes;
    return !write_fails;
  }
  bool IsReadOnly(const std::string& path) override { return files.count(path) != 0 && read_only.count(path) != 0; }
  // As Wine does: the rename replaces a read-only file too.
  bool Replace(const std::string& from, const std::string& to) override {
    if (replace_fails || files.count(from) == 0) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void Remove(const std::string& path) override { files.erase(path); }
};

const std::string kPath = "C:\\Program Files\\Panel\\setup.set";

TPanelSettings Parse(const std::string& bytes) { return ParseSettings(bytes); }

void ExpectDefaults(const TPanelSettings& settings) {
  EXPECT_EQ(settings.SkypeOutName, "");
  EXPECT_EQ(settings.SkypeInName, "");
  EXPECT_EQ(settings.SkypeRingName, "");
  EXPECT_EQ(settings.SpeakerVolume, 32767);
  EXPECT_EQ(settings.MicVolume, 32767);
  EXPECT_FALSE(settings.SpeakerMute);
  EXPECT_FALSE(settings.MicMute);
}

}  // namespace

TEST(SettingsFileFormat, SevenLinesEndingInCrLf) {
  TPanelSettings settings;
  settings.SkypeOutName = "USB Phone";
  settings.SkypeInName = "USB Phone";
  settings.SkypeRingName = "-1";
  EXPECT_EQ(FormatSettings(settings), "USB Phone\r\nUSB Phone\r\n-1\r\n7fff\r\n7fff\r\n0\r\n0\r\n");

  settings.SkypeOutName = "";
  settings.SpeakerVolume = 5;
  settings.MicVolume = 65535;
  settings.SpeakerMute = true;
  EXPECT_EQ(FormatSettings(settings), "\r\nUSB Phone\r\n-1\r\n0005\r\nffff\r\n1\r\n0\r\n");
}

TEST(SettingsFileFormat, ValuesOutsideTheVolumeRangeAreWrittenAsTheyAre) {
  TPanelSettings settings;
  settings.SpeakerVolume = 0x12345;
  settings.MicVolume = -1;
  const std::string bytes = FormatSettings(settings);
  EXPECT_EQ(bytes, "\r\n\r\n\r\n12345\r\nffffffff\r\n0\r\n0\r\n");
  // Read back, a value beyond the signed 32-bit range is limited to it.
  EXPECT_EQ(Parse(bytes).SpeakerVolume, 0x12345);
  EXPECT_EQ(Parse(bytes).MicVolume, INT32_MAX);
}

TEST(SettingsFileParse, AWrittenFileReadsBackTheSameAndBareLineFeedsAreAccepted) {
  TPanelSettings settings;
  settings.SkypeOutName = "Lautsprecher (USB Phone)";
  settings.SkypeInName = "Mikrofon";
  settings.SkypeRingName = "-1";
  settings.SpeakerVolume = 0xABCD;
  settings.MicVolume = 0;
  settings.SpeakerMute = true;
  settings.MicMute = false;
  const TPanelSettings read = Parse(FormatSettings(settings));
  EXPECT_EQ(read.SkypeOutName, settings.SkypeOutName);
  EXPECT_EQ(read.SkypeInName, settings.SkypeInName);
  EXPECT_EQ(read.SkypeRingName, "-1");
  EXPECT_EQ(read.SpeakerVolume, 0xABCD);
  EXPECT_EQ(read.MicVolume, 0);
  EXPECT_TRUE(read.SpeakerMute);
  EXPECT_FALSE(read.MicMute);

  const TPanelSettings unix_lines = Parse("a\nb\nc\n1000\n2000\n0\n1");
  EXPECT_EQ(unix_lines.SkypeRingName, "c");
  EXPECT_EQ(unix_lines.MicVolume, 0x2000);
  EXPECT_TRUE(unix_lines.MicMute);
}

TEST(SettingsFileParse, AFileOfFewerThanSevenLinesGivesAllDefaults) {
  ExpectDefaults(Parse("Out\r\nIn\r\n-1\r\n1234\r\n1234\r\n1\r\n"));
  ExpectDefaults(Parse(""));
}

TEST(SettingsFileParse, VolumesAreHexadecimalInAnyCaseWithOrWithoutPrefix) {
  const auto volume = [](const std::string& line) {
    return Parse("a\nb\nc\n" + line + "\n0\n0\n0\n").SpeakerVolume;
  };
  EXPECT_EQ(volume("7fff"), 0x7FFF);
  EXPECT_EQ(volume("7FFF"), 0x7FFF);
  EXPECT_EQ(volume("0x7fff"), 0x7FFF);
  EXPECT_EQ(volume("0X7FfF"), 0x7FFF);
  EXPECT_EQ(volume("  \t12zz"), 0x12);
  EXPECT_EQ(volume("-10"), -16);
  EXPECT_EQ(volume("xyz"), 0);
  EXPECT_EQ(volume(""), 0);
  EXPECT_EQ(volume("123456789"), INT32_MAX);
  EXPECT_EQ(volume("-fffffffff"), INT32_MIN);
}

TEST(SettingsFileParse, AMuteIsOnUnlessItsLineStartsWithZero) {
  const auto mute = [](const std::string& line) { return Parse("a\nb\nc\n0\n0\n" + line + "\n1\n").SpeakerMute; };
  EXPECT_FALSE(mute("0"));
  EXPECT_FALSE(mute("00"));
  EXPECT_TRUE(mute(" 0"));
  EXPECT_TRUE(mute(""));
  EXPECT_TRUE(mute("1"));
  EXPECT_TRUE(mute("no"));
}

TEST(SettingsFileParse, ANameLongerThan259CharactersIsReadAsTwoLines) {
  const std::string long_name(300, 'n');
  const TPanelSettings read = Parse(long_name + "\r\nIn\r\n-1\r\n1000\r\n2000\r\n0\r\n1\r\n");
  EXPECT_EQ(read.SkypeOutName, std::string(259, 'n'));
  EXPECT_EQ(read.SkypeInName, std::string(41, 'n'));
  EXPECT_EQ(read.SkypeRingName, "In");
  EXPECT_EQ(read.SpeakerVolume, -1);  // "-1"
  EXPECT_EQ(read.MicVolume, 0x1000);
  EXPECT_TRUE(read.SpeakerMute);  // "2000"
  EXPECT_FALSE(read.MicMute);     // "0"

  // Exactly 259 characters fill one read; the line end comes as an empty line.
  const TPanelSettings exact = Parse(std::string(259, 'e') + "\nIn\n-1\n1\n2\n0\n0\n");
  EXPECT_EQ(exact.SkypeOutName, std::string(259, 'e'));
  EXPECT_EQ(exact.SkypeInName, "");
  EXPECT_EQ(exact.SkypeRingName, "In");
}

TEST(SettingsFile, ALoadReadsTheFileOrGivesTheDefaults) {
  FakeStorage storage;
  TSettingsFile file(storage, kPath);
  TPanelSettings settings;
  settings.SkypeOutName = "left over";
  file.Load(settings);
  ExpectDefaults(settings);

  storage.files[kPath] = "Out\r\nIn\r\n-1\r\n0100\r\n0200\r\n1\r\n0\r\n";
  file.Load(settings);
  EXPECT_EQ(settings.SkypeOutName, "Out");
  EXPECT_EQ(settings.MicVolume, 0x200);
  EXPECT_TRUE(settings.SpeakerMute);

  // A file cut short (a crash while writing, in older versions) gives the defaults.
  storage.files[kPath] = "Out\r\nIn\r\n-1\r\n01";
  file.Load(settings);
  ExpectDefaults(settings);
}

TEST(SettingsFile, ASaveReplacesTheFileThroughATemporaryOne) {
  FakeStorage storage;
  TSettingsFile file(storage, kPath);
  TPanelSettings settings;
  settings.SkypeRingName = "-1";
  file.Save(settings);
  EXPECT_EQ(storage.files, (std::map<std::string, std::string>{{kPath, "\r\n\r\n-1\r\n7fff\r\n7fff\r\n0\r\n0\r\n"}}));
}

TEST(SettingsFile, AFailedSaveLeavesTheLastGoodFileAndNoTemporaryOne) {
  FakeStorage storage;
  TSettingsFile file(storage, kPath);
  const std::string good = "Out\r\nIn\r\n-1\r\n0100\r\n0200\r\n1\r\n0\r\n";
  storage.files[kPath] = good;
  TPanelSettings settings;
  settings.SkypeOutName = "changed";

  storage.write_fails = true;
  file.Save(settings);
  EXPECT_EQ(storage.files, (std::map<std::string, std::string>{{kPath, good}}));

  storage.write_fails = false;
  storage.replace_fails = true;
  file.Save(settings);
  EXPECT_EQ(storage.files, (std::map<std::string, std::string>{{kPath, good}}));
}

TEST(SettingsFile, AReadOnlyFileIsLeftAlone) {
  FakeStorage storage;
  TSettingsFile file(storage, kPath);
  const std::string kept = "Out\r\nIn\r\n-1\r\n0100\r\n0200\r\n1\r\n0\r\n";
  storage.files[kPath] = kept;
  storage.read_only.insert(kPath);
  TPanelSettings settings;
  settings.SpeakerVolume = 1000;
  file.Save(settings);
  EXPECT_EQ(storage.files, (std::map<std::string, std::string>{{kPath, kept}}));
}
