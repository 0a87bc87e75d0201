#include "platform/win32/Win32.h"
#include "tests/platform/win32/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

const char* const kMachineHive = "Windows Registry Editor Version 5.00\r\n"
                                 "\r\n"
                                 "; where the address-book library lives\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\WAB\\DLLPath]\r\n"
                                 "@=\"/opt/wab/libwab32.so\"\r\n"
                                 "\r\n"
                                 "[Software\\Quenby]\r\n"
                                 "\"Name\"=\"a \\\"quoted\\\" \\\\ text\"\r\n"
                                 "\"Count\" = dword:0000002a\r\n"
                                 "\"Blob\"=hex:01,02,ff\r\n"
                                 "\"Home\"=expand:\"%HOME%\"\r\n"
                                 "\"Broken\"=dword:xyz\r\n"
                                 "\"Unterminated\"=\"abc\r\n"
                                 "\"Twice\"=\"first\"\r\n"
                                 "\"Twice\"=\"second\"\r\n";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { WriteText(dir_.File("HKEY_LOCAL_MACHINE.reg"), kMachineHive); }

    TempDir dir_;
    ScopedEnv env_{"QUENBY_REGISTRY_DIR", dir_.path().c_str()};
};

// REG_SZ data: the text and its NUL.
std::vector<BYTE> Sz(const std::string& s) {
    std::vector<BYTE> bytes(s.begin(), s.end());
    bytes.push_back(0);
    return bytes;
}

TEST_F(Registry, LooksUpKeysAndValues) {
    const struct {
        const char* key;
        const char* value;
        LSTATUS openStatus;
        LSTATUS queryStatus;
        DWORD type;
        std::vector<BYTE> data;
    } cases[] = {
        {"Software\\Microsoft\\WAB\\DLLPath", nullptr, ERROR_SUCCESS, ERROR_SUCCESS, REG_SZ,
         Sz("/opt/wab/libwab32.so")},
        {"software\\MICROSOFT\\wab\\dllpath\\", "", ERROR_SUCCESS, ERROR_SUCCESS, REG_SZ,
         Sz("/opt/wab/libwab32.so")},
        {"Software\\Quenby", "name", ERROR_SUCCESS, ERROR_SUCCESS, REG_SZ,
         Sz("a \"quoted\" \\ text")},
        {"Software\\Quenby", "Count", ERROR_SUCCESS, ERROR_SUCCESS, REG_DWORD, {0x2a, 0, 0, 0}},
        {"Software\\Quenby", "Blob", ERROR_SUCCESS, ERROR_SUCCESS, REG_BINARY, {1, 2, 0xff}},
        {"Software\\Quenby", "Home", ERROR_SUCCESS, ERROR_SUCCESS, REG_EXPAND_SZ, Sz("%HOME%")},
        {"Software\\Quenby", "Twice", ERROR_SUCCESS, ERROR_SUCCESS, REG_SZ, Sz("second")},
        {"Software\\Quenby", "Broken", ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, 0, {}},
        {"Software\\Quenby", "Unterminated", ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, 0, {}},
        {"Software\\Quenby", nullptr, ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, 0, {}},
        {"Software\\Microsoft", nullptr, ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, 0, {}},
        {"Software\\Microsoft\\WA", nullptr, ERROR_FILE_NOT_FOUND, 0, 0, {}},
        {"Software\\Missing", nullptr, ERROR_FILE_NOT_FOUND, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " / " + (c.value ? c.value : "(default)"));
        HKEY key = reinterpret_cast<HKEY>(1);
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, c.key, 0, KEY_READ, &key), c.openStatus);
        if (c.openStatus != ERROR_SUCCESS) {
            EXPECT_EQ(key, nullptr);
            continue;
        }
        DWORD type = 99;
        BYTE data[64] = {};
        DWORD size = sizeof(data);
        EXPECT_EQ(RegQueryValueExA(key, c.value, nullptr, &type, data, &size), c.queryStatus);
        if (c.queryStatus == ERROR_SUCCESS) {
            EXPECT_EQ(type, c.type);
            EXPECT_EQ(std::vector<BYTE>(data, data + size), c.data);
        }
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
}

TEST_F(Registry, SizeQueryAndSmallBuffer) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\WAB\\DLLPath", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 21u);

    BYTE small[8];
    std::memset(small, '#', sizeof(small));
    size = sizeof(small);
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 21u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(small), sizeof(small)), std::string(8, '#'));

    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, small, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Registry, HandlesAreCheckedAndReadOnly) {
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &software), ERROR_SUCCESS);
    HKEY quenby = nullptr;
    ASSERT_EQ(RegOpenKeyExA(software, "Quenby", 0, KEY_READ, &quenby), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(quenby, "Count", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);

    HKEY denied = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_WRITE, &denied),
              ERROR_ACCESS_DENIED);

    EXPECT_EQ(RegCloseKey(quenby), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(quenby), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(quenby, "Count", nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(quenby, "x", 0, KEY_READ, &denied), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(Registry, MissingHiveFileIsEmpty) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quenby", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(RegistryLocation, CurrentUserHiveUnderConfigHome) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("quenby/registry"));
    WriteText(dir.File("quenby/registry/HKEY_CURRENT_USER.reg"), "[Software\\Quenby]\n@=\"cu\"\n");
    ScopedEnv noOverride("QUENBY_REGISTRY_DIR", nullptr);
    ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quenby", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char value[16] = {};
    DWORD size = sizeof(value);
    EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "cu");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

} // namespace
