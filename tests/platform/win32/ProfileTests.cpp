#include "platform/win32/Win32.h"
#include "tests/platform/win32/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

struct ReadCase {
    const char* name;
    std::optional<std::string> content; // nullopt: no file
    const char* section;
    const char* key;
    const char* fallback;
    DWORD size;
    std::string expected;
};

TEST(ProfileRead, StringLookups) {
    const std::string longValue(300, 'x');
    const ReadCase cases[] = {
        {"names ignore case", "[Quenby]\nwabname=/a.wab\n", "QUENBY", "WabName", "", 260, "/a.wab"},
        {"blanks around key and value", "[S]\n  Key  =   v a l  \t\n", "S", "key", "", 260,
         "v a l"},
        {"double quotes dropped", "[S]\nK=\" padded \"\n", "S", "K", "", 260, " padded "},
        {"single quotes dropped", "[S]\nK='x'\n", "S", "K", "", 260, "x"},
        {"unpaired quote kept", "[S]\nK=\"x\n", "S", "K", "", 260, "\"x"},
        {"CRLF file", "[S]\r\nK=v\r\n", "S", "K", "", 260, "v"},
        {"byte order mark", "\xEF\xBB\xBF[S]\nK=v", "S", "K", "", 260, "v"},
        {"missing key: default without trailing blanks", "[S]\nK=v\n", "S", "Other", "dflt  ", 260,
         "dflt"},
        {"key of another section", "[A]\nK=1\n[B]\nJ=2\n", "B", "K", "d", 260, "d"},
        {"key above every section", "K=1\n[S]\n", "S", "K", "d", 260, "d"},
        {"comment is no key", "[S]\n;K=1\n", "S", "K", "d", 260, "d"},
        {"blank value", "[S]\nK=  \n", "S", "K", "d", 260, ""},
        {"first of a repeated key", "[S]\nK=1\nK=2\n", "S", "K", "", 260, "1"},
        {"repeated section searched", "[S]\nA=1\n[T]\n[s]\nK=2\n", "S", "K", "", 260, "2"},
        {"missing file", std::nullopt, "S", "K", "d", 260, "d"},
        {"null default", std::nullopt, "S", "K", nullptr, 260, ""},
        {"value cut to the buffer", "[S]\nK=" + longValue + "\n", "S", "K", "", 260,
         std::string(259, 'x')},
        {"default cut to the buffer", std::nullopt, "S", "K", "abcdef", 4, "abc"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string file = dir.File("t.ini");
        if (c.content) {
            WriteText(file, *c.content);
        }
        std::vector<char> buf(c.size + 1, '#');
        DWORD n = GetPrivateProfileStringA(c.section, c.key, c.fallback, buf.data(), c.size,
                                           file.c_str());
        EXPECT_EQ(n, c.expected.size());
        EXPECT_EQ(std::string(buf.data()), c.expected);
        EXPECT_EQ(buf[c.size], '#') << "wrote past the buffer";
    }
}

TEST(ProfileRead, Integers) {
    const struct {
        const char* line;
        INT fallback;
        UINT expected;
    } cases[] = {
        {"K=yes", 1, 0},
        {"K=2", 0, 2},
        {"K= 42abc", 0, 42},
        {"K=-5", 0, static_cast<UINT>(-5)},
        {"K=+7", 0, 7},
        {"K=\"12\"", 0, 12},
        {"K=", 9, 9},      // empty reads like missing
        {"Other=3", 9, 9}, // missing key
        {"Other=3", -1, static_cast<UINT>(-1)},
    };
    TempDir dir;
    std::string file = dir.File("t.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        WriteText(file, std::string("[S]\n") + c.line + "\n");
        EXPECT_EQ(GetPrivateProfileIntA("s", "k", c.fallback, file.c_str()), c.expected);
    }
    EXPECT_EQ(GetPrivateProfileIntA("S", "K", 1, dir.File("none.ini").c_str()), 1u);
}

TEST(ProfileRead, NameListsEndInDoubleNulAndAreCutToTheBuffer) {
    TempDir dir;
    std::string file = dir.File("t.ini");
    WriteText(file, "[A]\nk1=1\nK2=2\n[b]\n[a]\nk3=3\nK1=4\n");
    char buf[64];
    std::memset(buf, '#', sizeof(buf));
    ASSERT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buf, sizeof(buf), file.c_str()), 4u);
    EXPECT_EQ(std::string(buf, 5), std::string("A\0b\0\0", 5));
    ASSERT_EQ(GetPrivateProfileStringA("a", nullptr, "", buf, sizeof(buf), file.c_str()), 9u);
    EXPECT_EQ(std::string(buf, 10), std::string("k1\0K2\0k3\0\0", 10));
    std::memset(buf, '#', sizeof(buf));
    ASSERT_EQ(GetPrivateProfileStringA("a", nullptr, "", buf, 6, file.c_str()), 4u);
    EXPECT_EQ(std::string(buf, 7), std::string("k1\0K\0\0#", 7));
}

struct Write {
    const char* section;
    const char* key;
    const char* value;
    BOOL result = TRUE;
};

struct WriteCase {
    const char* name;
    std::optional<std::string> before;
    std::vector<Write> writes;
    std::optional<std::string> after;
};

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    const std::string other = "; settings\n[Other]\nA=1\n\n";
    const WriteCase cases[] = {
        {"first run creates file and section",
         std::nullopt,
         {{"Quenby", "WabName", ""}, {"Quenby", "CheckName", "0"}, {"Quenby", "CheckMail", "1"}},
         "[Quenby]\nWabName=\nCheckName=0\nCheckMail=1\n"},
        {"value replaced in place, case ignored, the rest kept",
         other + "[quenby]\n  wabname = old  \nCheckMail=1\n[Last]\nB=2\n",
         {{"Quenby", "WabName", "new"}},
         other + "[quenby]\n  wabname = new\nCheckMail=1\n[Last]\nB=2\n"},
        {"new key after the section's last key, CRLF kept",
         "[S]\r\nA=1\r\n\r\n; about T\r\n[T]\r\n",
         {{"S", "B", "2"}},
         "[S]\r\nA=1\r\nB=2\r\n\r\n; about T\r\n[T]\r\n"},
        {"new section at the end of a file without final newline",
         "[A]\nx=1",
         {{"B", "k", "v"}},
         "[A]\nx=1\n[B]\nk=v\n"},
        {"byte order mark kept",
         "\xEF\xBB\xBF[S]\nA=1\n",
         {{"S", "A", "2"}},
         "\xEF\xBB\xBF[S]\nA=2\n"},
        {"null value deletes the key", "[S]\nA=1\nB=2\n", {{"S", "a", nullptr}}, "[S]\nB=2\n"},
        {"null key deletes the section",
         "[A]\nx=1\n[S]\nA=1\n;c\n[B]\ny=2\n",
         {{"s", nullptr, nullptr}},
         "[A]\nx=1\n[B]\ny=2\n"},
        {"deleting from a missing file creates none",
         std::nullopt,
         {{"S", "A", nullptr}},
         std::nullopt},
        {"line breaks refused, file untouched",
         "[S]\nA=1\n",
         {{"S", "A", "x\n[Evil]", FALSE}, {"S\n", "A", "1", FALSE}, {"S", "A\r", "1", FALSE}},
         "[S]\nA=1\n"},
        {"names that cannot be written refused",
         "[S]\nA=1\n",
         {{"S", "B=C", "1", FALSE}, {"S]", "A", "1", FALSE}, {"S", " ", "1", FALSE}},
         "[S]\nA=1\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string file = dir.File("brindle.ini");
        if (c.before) {
            WriteText(file, *c.before);
        }
        for (const Write& w : c.writes) {
            EXPECT_EQ(WritePrivateProfileStringA(w.section, w.key, w.value, file.c_str()),
                      w.result);
        }
        EXPECT_EQ(ReadText(file), c.after);
        // Nothing but the settings file is left behind.
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
            ++entries;
        }
        EXPECT_EQ(entries, c.after ? 1u : 0u);
    }
}

TEST(ProfileWrite, WhatIsWrittenReadsBack) {
    TempDir dir;
    std::string file = dir.File("t.ini");
    const std::string path = "/home/user/My Contacts/" + std::string(200, 'n') + ".wab";
    ASSERT_TRUE(WritePrivateProfileStringA("Quenby", "WabName", path.c_str(), file.c_str()));
    char buf[260];
    EXPECT_EQ(GetPrivateProfileStringA("Quenby", "WabName", "", buf, sizeof(buf), file.c_str()),
              path.size());
    EXPECT_EQ(std::string(buf), path);
}

TEST(ProfileWrite, UnwritableFileOrFolderLeavesTheOldFile) {
    const std::string original = "[Quenby]\r\nWabName=/old.wab\r\n";
    for (bool lockFolder : {true, false}) {
        SCOPED_TRACE(lockFolder ? "read-only folder" : "read-only file");
        TempDir dir;
        std::string file = dir.File("brindle.ini");
        WriteText(file, original);
        ASSERT_EQ(::chmod((lockFolder ? dir.path() : file).c_str(), lockFolder ? 0555 : 0444), 0);
        EXPECT_FALSE(WritePrivateProfileStringA("Quenby", "WabName", "/new.wab", file.c_str()));
        EXPECT_FALSE(WritePrivateProfileStringA("Quenby", nullptr, nullptr, file.c_str()));
        EXPECT_EQ(ReadText(file), original);
    }
}

TEST(ProfileWrite, KeepsModeAndWritesThroughSymbolicLinks) {
    TempDir dir;
    std::string real = dir.File("real.ini");
    std::string link = dir.File("link.ini");
    WriteText(real, "[S]\nA=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);

    ASSERT_TRUE(WritePrivateProfileStringA("S", "A", "2", link.c_str()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadText(real), "[S]\nA=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ProfileWrite, UnreadableTargetIsNotReplaced) {
    TempDir dir;
    // A folder where the file should be: reading fails, so writing must too.
    std::string file = dir.File("brindle.ini");
    std::filesystem::create_directory(file);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "A", "1", file.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

} // namespace
