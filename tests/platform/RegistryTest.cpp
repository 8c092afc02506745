#include "platform/Registry.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using platform::Hive;
using platform::RegistryError;
using platform::RegistryKey;
using platform::ValueType;

namespace {

std::unique_ptr<RegistryKey> settingsKey()
{
    return RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", true);
}

std::string fileBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(Registry, StringsSurviveTheFileWhateverTheirBytes)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Agrandissement", "Max"},
        {"", "default value"},
        {"empty", ""},
        {"quotes \"and\" \\backslashes\\", "C:\\Program Files\\\"gs\"\\"},
        {"line\nbreaks\r\tand tab", "a\nb\r\nc\t"},
        {"control \x01\x1f\x7f", std::string("nul \0 inside", 12)},
        {"percent %41 [brackets]", "=int:5"},
        {"accents é ß", "\xe9t\xe9 (Windows-1252)"},
    };
    {
        auto key = settingsKey();
        for (const auto &[name, value] : cases)
            key->writeString(name, value);
    }
    auto key = RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", false);
    ASSERT_TRUE(key);
    for (const auto &[name, value] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(key->readString(name), value);
    }
}

TEST(Registry, IntegersAndMultiStringsSurviveTheFile)
{
    const std::vector<int32_t> integers = {0, 2, -1, INT32_MIN, INT32_MAX};
    const std::vector<std::vector<std::string>> lists = {
        {},
        {""},
        {"\\??\\/opt/quirelle/libVorstel.so", "", "/tmp/a", "/tmp/b", ""},
        {"comma, \"quote\"", "new\nline"},
    };
    auto key = settingsKey();
    for (size_t i = 0; i < integers.size(); ++i)
        key->writeInteger("int" + std::to_string(i), integers[i]);
    for (size_t i = 0; i < lists.size(); ++i)
        key->writeMultiString("multi" + std::to_string(i), lists[i]);
    for (size_t i = 0; i < integers.size(); ++i)
        EXPECT_EQ(key->readInteger("int" + std::to_string(i)), integers[i]);
    for (size_t i = 0; i < lists.size(); ++i)
        EXPECT_EQ(key->readMultiString("multi" + std::to_string(i)), lists[i]);
}

TEST(Registry, MultiStringDataLosesNothingWhenItsFinalZeroBytesAreMissing)
{
    using Strings = std::vector<std::string>;
    const std::pair<std::string, Strings> cases[] = {
        {std::string("a\0b\0\0", 5), {"a", "b"}},
        {std::string("a\0b\0", 4), {"a", "b"}},
        {std::string("a\0b", 3), {"a", "b"}},
        {std::string("src\0\0\0", 6), {"src", ""}},
        {std::string("\0\0", 2), {""}},
        {std::string("\0", 1), {}},
        {"", {}},
    };
    auto key = settingsKey();
    for (const auto &[data, strings] : cases) {
        SCOPED_TRACE(testing::PrintToString(data));
        EXPECT_EQ(platform::SplitMultiSz(data), strings);
        key->writeMultiStringData("Pending", data);
        EXPECT_EQ(key->readMultiStringData("Pending"), data) << "kept byte for byte";
        EXPECT_EQ(key->readMultiString("Pending"), strings);
        EXPECT_EQ(key->valueType("Pending"), ValueType::MultiString);
    }
    key->writeMultiStringData("Pending", std::string("a\0b", 3));
    const std::string file = fileBytes(platform::registryFilePath());
    EXPECT_NE(file.find("\"Pending\"=multi-data:\"a\\x00b\"\n"), std::string::npos) << file;

    key->writeMultiString("Pairs", {"\\??\\/a", "", "/b"});
    EXPECT_EQ(key->readMultiStringData("Pairs"), std::string("\\??\\/a\0\0/b\0\0", 12));
    EXPECT_THROW(key->writeMultiString("Pairs", {std::string("a\0b", 3)}), RegistryError);
}

TEST(Registry, NamesMatchWhateverTheirCaseAndKeepTheFirstSpelling)
{
    auto key = settingsKey();
    key->writeInteger("Zoom", 1);
    key->writeInteger("ZOOM", 3);
    EXPECT_EQ(key->readInteger("zoom"), 3);
    EXPECT_EQ(key->valueNames(), std::vector<std::string>{"Zoom"});

    RegistryKey::open(Hive::CurrentUser, "software\\QUIRELLE\\Sub", true);
    EXPECT_TRUE(RegistryKey::exists(Hive::CurrentUser, "SOFTWARE\\quirelle\\sub"));
    auto root = RegistryKey::open(Hive::CurrentUser, "", false);
    EXPECT_EQ(root->subKeyNames(), std::vector<std::string>{"Software"});
    EXPECT_EQ(key->subKeyNames(), std::vector<std::string>{"Sub"});
}

TEST(Registry, MissingValueDiffersFromEmptyValue)
{
    auto key = settingsKey();
    key->writeString("Vide", "");
    EXPECT_EQ(key->readString("Vide"), std::string());
    EXPECT_EQ(key->readString("Absent"), std::nullopt);
    EXPECT_EQ(key->readInteger("Absent"), std::nullopt);
    EXPECT_EQ(key->readMultiString("Absent"), std::nullopt);
    EXPECT_EQ(key->valueType("Vide"), ValueType::String);
    EXPECT_FALSE(key->hasValue("Absent"));
}

TEST(Registry, ReadingAValueAsAnotherTypeFails)
{
    auto key = settingsKey();
    key->writeInteger("Zoom", 2);
    key->writeString("Largeur", "800");
    EXPECT_EQ(key->valueType("Zoom"), ValueType::Integer);
    EXPECT_THROW(key->readString("Zoom"), RegistryError);
    EXPECT_THROW(key->readInteger("Largeur"), RegistryError);
    EXPECT_THROW(key->readMultiString("Zoom"), RegistryError);
    key->writeMultiString("Zoom", {"a"});
    EXPECT_EQ(key->valueType("Zoom"), ValueType::MultiString);
}

TEST(Registry, OpeningWithoutCreateFindsOnlyExistingKeys)
{
    EXPECT_EQ(RegistryKey::open(Hive::ClassesRoot, ".bd", false), nullptr);
    EXPECT_FALSE(RegistryKey::exists(Hive::ClassesRoot, ".bd"));

    auto command =
        RegistryKey::open(Hive::ClassesRoot, "\\.bd\\shell\\\\Quirelle\\command\\", true);
    EXPECT_EQ(command->path(), ".bd\\shell\\Quirelle\\command");
    EXPECT_TRUE(RegistryKey::exists(Hive::ClassesRoot, ".bd\\shell"));
    EXPECT_FALSE(RegistryKey::exists(Hive::CurrentUser, ".bd"));
    EXPECT_TRUE(command->valueNames().empty());
}

TEST(Registry, EnumeratesSubkeysSortedAndValuesInWrittenOrder)
{
    for (const char *name : {"b", "C", "a"})
        RegistryKey::open(Hive::LocalMachine, std::string("SOFTWARE\\Test\\") + name, true);
    auto key = RegistryKey::open(Hive::LocalMachine, "SOFTWARE\\Test", false);
    EXPECT_EQ(key->subKeyNames(), (std::vector<std::string>{"a", "b", "C"}));
    for (const char *name : {"z", "", "M"})
        key->writeString(name, "x");
    EXPECT_EQ(key->valueNames(), (std::vector<std::string>{"z", "", "M"}));
}

TEST(Registry, DeletesValuesKeysAndTrees)
{
    auto clsid = RegistryKey::open(Hive::ClassesRoot, "CLSID\\{9866}\\InprocServer32", true);
    clsid->writeString("ThreadingModel", "Apartment");
    RegistryKey::open(Hive::ClassesRoot, "CLSID\\Other", true);

    EXPECT_TRUE(clsid->deleteValue("threadingmodel"));
    EXPECT_FALSE(clsid->deleteValue("ThreadingModel"));
    EXPECT_FALSE(clsid->hasValue("ThreadingModel"));

    EXPECT_FALSE(RegistryKey::deleteKey(Hive::ClassesRoot, "CLSID\\{9866}")) << "has a subkey";
    EXPECT_TRUE(RegistryKey::exists(Hive::ClassesRoot, "CLSID\\{9866}\\InprocServer32"));
    EXPECT_TRUE(RegistryKey::deleteKey(Hive::ClassesRoot, "CLSID\\{9866}\\InprocServer32"));
    EXPECT_FALSE(RegistryKey::deleteKey(Hive::ClassesRoot, "CLSID\\Missing"));

    RegistryKey::open(Hive::ClassesRoot, "CLSID\\{9866}\\a\\b\\c", true)->writeInteger("n", 1);
    RegistryKey::deleteTree(Hive::ClassesRoot, "clsid\\{9866}");
    RegistryKey::deleteTree(Hive::ClassesRoot, "CLSID\\{9866}");
    EXPECT_FALSE(RegistryKey::exists(Hive::ClassesRoot, "CLSID\\{9866}"));
    EXPECT_TRUE(RegistryKey::exists(Hive::ClassesRoot, "CLSID\\Other"));

    // The deleted key reads as empty, and writing to it fails.
    EXPECT_TRUE(clsid->valueNames().empty());
    EXPECT_EQ(clsid->readString("ThreadingModel"), std::nullopt);
    EXPECT_THROW(clsid->writeString("ThreadingModel", "Apartment"), RegistryError);
    EXPECT_FALSE(RegistryKey::exists(Hive::ClassesRoot, "CLSID\\{9866}"));
}

TEST(Registry, ReadsAHandWrittenFile)
{
    writeFile(platform::registryFilePath(), "; comment\r\n"
                                            "[HKEY_CURRENT_USER\\Software\\Quirelle]\r\n"
                                            "\"Zoom\"=int:-2\r\n"
                                            "@=\"d\\x41\\\"\"\r\n"
                                            "\n"
                                            "[HKEY_CLASSES_ROOT\\odd %25%0A name]\n"
                                            "\"List\"=multi:\"a\",\"\",\"b\"\n"
                                            "\"None\"=multi:\n");
    auto settings = RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->readInteger("Zoom"), -2);
    EXPECT_EQ(settings->readString(""), "dA\"");
    auto odd = RegistryKey::open(Hive::ClassesRoot, "odd %\n name", false);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->readMultiString("List"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(odd->readMultiString("None"), std::vector<std::string>{});
}

TEST(Registry, DamagedFileIsReportedAndLeftAsItWas)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"\"Zoom\"=int:2\n", 1},                                   // value outside a key
        {"[HKEY_CURRENT_USER\\A]\n\"Zoom\"=int:\n", 2},            // no number
        {"[HKEY_CURRENT_USER\\A]\n\"Zoom\"=int:99999999999\n", 2}, // out of range
        {"[HKEY_CURRENT_USER\\A]\n\n\"Name=\"x\"\n", 3},           // unclosed quote
        {"[HKEY_CURRENT_USER\\A]\n\"N\"=\"x\" trailing\n", 2},
        {"[HKEY_CURRENT_USER\\A]\n\"N\"=\"bad \\q escape\"\n", 2},
        {"[HKEY_CURRENT_USER\\A]\n\"N\"=\"a\"\n\"n\"=\"b\"\n", 3}, // same value twice
        {"[HKEY_CURRENT_USER\\A]\n\"N\"=multi:\"a\",\n", 2},
        {"[HKEY_CURRENT_USER\\A]\n\"N\"=multi:\"a\\x00b\"\n", 2}, // a zero byte in a string
        {"[HKEY_NOWHERE\\A]\n", 1},
        {"[HKEY_CURRENT_USER\\A\\\\B]\n", 1}, // empty key name
        {"[HKEY_CURRENT_USER\\%G1]\n", 1},
        {"[HKEY_CURRENT_USER\\A\n", 1},
        {"junk\n", 1},
    };
    const std::filesystem::path file = platform::registryFilePath();
    for (const auto &[text, line] : cases) {
        SCOPED_TRACE(text);
        writeFile(file, text);
        const std::string expected = "Le registre est endommagé : " + file.string() + " (ligne " +
                                     std::to_string(line) + ").";
        try {
            RegistryKey::open(Hive::CurrentUser, "A", true);
            ADD_FAILURE() << "no error";
        } catch (const RegistryError &error) {
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_THROW(RegistryKey::exists(Hive::CurrentUser, "A"), RegistryError);
        EXPECT_THROW(RegistryKey::deleteTree(Hive::CurrentUser, "A"), RegistryError);
        EXPECT_EQ(fileBytes(file), text);
    }
}

TEST(Registry, OnlyADamagedFileIsSetAsideAndNothingIsReplaced)
{
    const std::filesystem::path file = platform::registryFilePath();
    EXPECT_EQ(platform::setAsideDamagedRegistry(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(file));

    settingsKey()->writeInteger("Zoom", 1);
    const std::string sound = fileBytes(file);
    EXPECT_EQ(platform::setAsideDamagedRegistry(), std::nullopt);
    EXPECT_EQ(fileBytes(file), sound);

    std::filesystem::path kept = file;
    kept += ".endommagé";
    std::filesystem::path second = file;
    second += ".endommagé-2";
    for (const auto &[text, name] : {std::pair{"junk 1\n", kept}, std::pair{"junk 2\n", second}}) {
        writeFile(file, text);
        EXPECT_EQ(platform::setAsideDamagedRegistry(), name);
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(fileBytes(name), text);
    }
    EXPECT_EQ(fileBytes(kept), "junk 1\n");
    EXPECT_EQ(settingsKey()->readInteger("Zoom"), std::nullopt); // a new registry
}
