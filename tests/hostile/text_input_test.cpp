// Random and adversarial "tallmere.cnf" and "InstallTime.txt" files through
// the two readers, compared with small models of the reading rules written
// here from those rules alone.
#include "common/install_time.h"
#include "common/text_conversion.h"
#include "seeded_random.h"
#include "test_files.h"
#include "update/config_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool FullRun()
{
    const char* full = std::getenv("KIT_HOSTILE_FULL");
    return full != nullptr && *full != '\0' && *full != '0';
}


// ---- The reading rules, as models ----------------------------------------

// Text mode: CR LF reads as one line break; a lone CR is an ordinary
// character. Lines end at LF; a last line without one still counts.
std::vector<std::string> TextLines(const std::string& bytes)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A line is held in a character buffer: its text ends at a NUL byte.
std::string BufferText(const std::string& line)
{
    return line.substr(0, line.find('\0'));
}

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (IsWhiteSpace(c)) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

// "tallmere.cnf": the value of the last "download_path" line that has one;
// a line of more than 1023 characters ends the reading.
std::string ConfigModel(const std::string& bytes, const std::string& before)
{
    std::string value = before;
    for (const std::string& line : TextLines(bytes)) {
        if (line.size() > 1023)
            break;
        std::vector<std::string> words = Words(BufferText(line));
        if (words.size() >= 2 && words[0] == "download_path")
            value = words[1];
    }
    return value;
}

// An optional sign and decimal digits after white space; at least one digit,
// and the number must fit a signed 32-bit integer.
bool Number(const std::string& text, int32_t& value)
{
    size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::string digits;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        digits += text[at++];
    if (digits.empty())
        return false;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > 10)
        return false;
    long long magnitude = std::stoll(digits);
    long long number = negative ? -magnitude : magnitude;
    if (number < INT32_MIN || number > INT32_MAX)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

// "InstallTime.txt": the number after the last "installtime" key; a line
// of more than 1023 characters ends the reading.
int32_t InstallTimeModel(const std::string& bytes, int32_t before)
{
    int32_t value = before;
    for (const std::string& line : TextLines(bytes)) {
        if (line.size() > 1023)
            break;
        std::string text = BufferText(line);
        size_t start = 0;
        while (start < text.size() && IsWhiteSpace(text[start]))
            ++start;
        size_t end = start;
        while (end < text.size() && !IsWhiteSpace(text[end]))
            ++end;
        int32_t number = 0;
        if (text.compare(start, end - start, "installtime") == 0 && Number(text.substr(end), number))
            value = number;
    }
    return value;
}

// ---- Generators ------------------------------------------------------------

std::string RandomBytes(Random& random, size_t size)
{
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.Next());
    return bytes;
}

// Bytes weighted towards the ones that matter to a line reader.
std::string LineNoise(Random& random, size_t size)
{
    static const char special[] = {' ', '\t', '\v', '\f', '\r', '\n', '\0', '-', '+', '0', '9', 'x'};
    std::string bytes;
    for (size_t i = 0; i < size; ++i)
        bytes += random.Chance(50) ? random.Pick(special) : static_cast<char>(random.Next());
    return bytes;
}

std::string Separator(Random& random)
{
    static const char* const separators[] = {" ", "  ", "\t", " \t ", "\v", "\f", "\r", "", "=", " = "};
    return random.Pick(separators);
}

std::string LineEnd(Random& random)
{
    static const char* const ends[] = {"\n", "\r\n", "\r\n", "\r", "", "\r\r\n", "\n\r", "\n\n"};
    return random.Pick(ends);
}

// A line whose length lies at, just under or just over the 1023-character limit.
std::string LimitLine(Random& random, const std::string& start)
{
    size_t length = 1018 + random.Below(10);
    std::string line = start;
    while (line.size() < length)
        line += random.Chance(10) ? ' ' : 'y';
    line.resize(length);
    return line;
}

std::string ConfigLine(Random& random)
{
    static const char* const keys[] = {"download_path", "download_path", "Download_Path",
                                       "download_pathx", "server", "#download_path", ""};
    static const char* const values[] = {"http://a/update.zip", "http://b/x.zip?q=1&r=2",
                                         "ftp://c/", "\xd6\xd0\xce\xc4", "", "x", "a=b"};
    switch (random.Below(6)) {
    case 0:
        return LimitLine(random, std::string("download_path http://long/") + (random.Chance(50) ? " " : ""));
    case 1:
        return LineNoise(random, random.Below(40));
    default: {
        std::string line = Separator(random) + random.Pick(keys) + Separator(random) + random.Pick(values);
        if (random.Chance(20))
            line += Separator(random) + "more words";
        if (random.Chance(5))
            line.insert(random.Below(line.size() + 1), std::string(1, '\0'));
        return line;
    }
    }
}

std::string InstallTimeLine(Random& random)
{
    static const char* const keys[] = {"installtime", "installtime", "InstallTime", "installtimes",
                                       "install time", ""};
    static const char* const values[] = {"1700000000", "-5", "+7", "17000abc", "abc", "99999999999",
                                         "2147483647", "2147483648", "-2147483648", "-2147483649",
                                         "0000000000000000000042", "0x10", "", "- 5", "--5", "5-"};
    switch (random.Below(6)) {
    case 0:
        return LimitLine(random, "installtime 123 ");
    case 1:
        return LineNoise(random, random.Below(40));
    default: {
        std::string line = Separator(random) + random.Pick(keys) + Separator(random) + random.Pick(values);
        if (random.Chance(5))
            line.insert(random.Below(line.size() + 1), std::string(1, '\0'));
        return line;
    }
    }
}

template <class LineMaker>
std::string TextFile(Random& random, LineMaker makeLine)
{
    switch (random.Below(10)) {
    case 0:
        return RandomBytes(random, random.Below(5000));
    case 1:
        return LineNoise(random, random.Below(3000));
    case 2: {  // one huge line (now and then megabytes), then a valid line
        const size_t length = random.Chance(5) ? 1000000 + random.Below(3000000) : 2000 + random.Below(60000);
        std::string huge(length, random.Chance(50) ? 'h' : ' ');
        return huge + LineEnd(random) + makeLine(random) + LineEnd(random);
    }
    case 3: {  // no line ends at all, or CR only
        std::string text;
        const std::string end = random.Chance(50) ? "" : "\r";
        for (size_t i = 0, n = 1 + random.Below(5); i < n; ++i)
            text += makeLine(random) + end;
        return text;
    }
    default: {
        std::string text;
        for (size_t i = 0, n = random.Below(12); i < n; ++i)
            text += makeLine(random) + LineEnd(random);
        return text;
    }
    }
}

// Ctrl-Z ends a text-mode read on this platform, a detail the reading rules
// leave open: files holding one are only checked for a sound result.
bool HoldsCtrlZ(const std::string& bytes)
{
    return bytes.find('\x1A') != std::string::npos;
}

class TextInputs : public ::testing::Test {
protected:
    std::string Path(const wchar_t* name)
    {
        std::string ansi;
        EXPECT_TRUE(WideToAnsi(m_temp / name, ansi));
        return ansi;
    }
    size_t Cases() const { return FullRun() ? 20000 : 400; }

    ScopedTempFolder m_temp{L"text"};
};

}  // namespace

TEST_F(TextInputs, ConfigurationFilesGiveTheAddressTheRulesGive)
{
    const std::string path = Path(L"tallmere.cnf");
    const std::string before = "http://before/";
    Random random(0xC0F1);
    size_t compared = 0, reported = 0;
    for (size_t i = 0; i < Cases(); ++i) {
        const std::string bytes = TextFile(random, ConfigLine);
        ASSERT_TRUE(WriteFileBytes(m_temp / L"tallmere.cnf", bytes));
        std::string value = before;
        ReadDownloadPath(path, value);
        if (HoldsCtrlZ(bytes)) {
            // The address is the one before or a word of the file.
            EXPECT_TRUE(value == before ||
                        (!value.empty() && bytes.find(value) != std::string::npos &&
                         Words(value).size() == 1))
                << "case " << i;
            continue;
        }
        ++compared;
        const std::string expected = ConfigModel(bytes, before);
        if (value != expected && reported++ < 10)
            ADD_FAILURE() << "case " << i << ": read \"" << value << "\" (" << value.size()
                          << " bytes), the rules give \"" << expected << "\"; file of "
                          << bytes.size() << " bytes starts "
                          << ::testing::PrintToString(bytes.substr(0, 80));
    }
    EXPECT_EQ(reported, 0u);
    EXPECT_GT(compared, Cases() / 2);
}

TEST_F(TextInputs, InstallTimeFilesGiveTheTimeTheRulesGive)
{
    const std::string path = Path(L"InstallTime.txt");
    const int32_t before = 7;
    Random random(0x1A57);
    size_t compared = 0, reported = 0;
    for (size_t i = 0; i < Cases(); ++i) {
        const std::string bytes = TextFile(random, InstallTimeLine);
        ASSERT_TRUE(WriteFileBytes(m_temp / L"InstallTime.txt", bytes));
        int32_t value = before;
        ReadInstallTimeFile(path, value);
        if (HoldsCtrlZ(bytes))
            continue;  // any value: the reader did not crash
        ++compared;
        const int32_t expected = InstallTimeModel(bytes, before);
        if (value != expected && reported++ < 10)
            ADD_FAILURE() << "case " << i << ": read " << value << ", the rules give " << expected
                          << "; file of " << bytes.size() << " bytes starts "
                          << ::testing::PrintToString(bytes.substr(0, 80));
    }
    EXPECT_EQ(reported, 0u);
    EXPECT_GT(compared, Cases() / 2);
}

// The models themselves on the cases the rules spell out.
TEST(TextInputModels, FollowTheRulesEdgeCases)
{
    const std::string longLine(1024, 'x');
    EXPECT_EQ(ConfigModel("download_path A\ndownload_path B\n", ""), "B");
    EXPECT_EQ(ConfigModel("Download_Path A\n", ""), "");
    EXPECT_EQ(ConfigModel("download_path=A\n", ""), "");
    EXPECT_EQ(ConfigModel("download_path   A more\n", ""), "A");
    EXPECT_EQ(ConfigModel(" \tdownload_path\tA", ""), "A");
    EXPECT_EQ(ConfigModel("download_path A\r\n", ""), "A");
    EXPECT_EQ(ConfigModel("download_path\n", "old"), "old");
    EXPECT_EQ(ConfigModel(longLine + "\ndownload_path A\n", ""), "");
    EXPECT_EQ(ConfigModel(std::string(1023, 'y') + "\r\ndownload_path A\n", ""), "A");
    EXPECT_EQ(InstallTimeModel("installtime 1700000000\r\n", 7), 1700000000);
    EXPECT_EQ(InstallTimeModel("installtime 5", 7), 5);
    EXPECT_EQ(InstallTimeModel(" \tinstalltime   5\n", 7), 5);
    EXPECT_EQ(InstallTimeModel("InstallTime 5\n", 7), 7);
    EXPECT_EQ(InstallTimeModel("installtime 17000abc\n", 7), 17000);
    EXPECT_EQ(InstallTimeModel("installtime abc\n", 7), 7);
    EXPECT_EQ(InstallTimeModel("installtime 21474836470\n", 7), 7);
    EXPECT_EQ(InstallTimeModel("installtime 1\ninstalltime 2\n", 7), 2);
    EXPECT_EQ(InstallTimeModel(longLine + "\ninstalltime 5\n", 7), 7);
    EXPECT_EQ(InstallTimeModel("installtime -5\n", 7), -5);
}

// Found by the random files: a NUL inside a line reached the address. The
// line's text ends at the NUL, as in the reader's line buffer.
TEST_F(TextInputs, NulBytesEndTheTextOfAConfigurationLine)
{
    const std::string path = Path(L"tallmere.cnf");
    struct Case {
        std::string contents;
        std::string expected;
    } cases[] = {
        {std::string("download_path ab\0cd\n", 20), "ab"},
        {std::string("download_path \0http://x/\n", 25), "http://before/"},
        {std::string("download_path\0 http://x/\n", 25), "http://before/"},
        {std::string("\0download_path http://x/\n", 25), "http://before/"},
        {std::string("download_path a\0\ndownload_path b\n", 33), "b"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(m_temp / L"tallmere.cnf", c.contents));
        std::string value = "http://before/";
        ReadDownloadPath(path, value);
        EXPECT_EQ(value, c.expected) << ::testing::PrintToString(c.contents);
        EXPECT_EQ(value, ConfigModel(c.contents, "http://before/"));
    }
}

// Found by the random files: a CR that ended the file was dropped as if a
// line feed followed, so a last line of 1024 characters counted as 1023.
TEST_F(TextInputs, ACarriageReturnEndingTheFileIsACharacterOfTheLastLine)
{
    const std::string path = Path(L"tallmere.cnf");
    std::string line = "download_path http://long/ ";
    line.resize(1023, 'y');
    struct Case {
        std::string contents;
        std::string expected;
    } cases[] = {
        {line + "\r", "http://before/"},
        {line + "\r\n", "http://long/"},
        {line, "http://long/"},
        {"download_path http://a/\r", "http://a/"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(m_temp / L"tallmere.cnf", c.contents));
        std::string value = "http://before/";
        ReadDownloadPath(path, value);
        EXPECT_EQ(value, c.expected) << c.contents.size() << " bytes";
        EXPECT_EQ(value, ConfigModel(c.contents, "http://before/"));
    }
}
