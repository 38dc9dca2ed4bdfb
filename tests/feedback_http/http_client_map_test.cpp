#include "feedback_http/http_client_map.h"
#include "feedback_http/http_errors.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace Kesto;

namespace {

using Entry = std::pair<std::wstring, std::wstring>;

std::vector<Entry> Walk(const CHttpClientMapT& map)
{
    std::vector<Entry> entries;
    for (const auto& entry : map)
        entries.emplace_back(entry.first.get(), entry.second ? entry.second.get() : L"<absent>");
    return entries;
}

struct OrderCase {
    std::vector<Entry> added;
    std::vector<Entry> walked;
};

}  // namespace

TEST(HttpClientMap, WalksNamesCaseInsensitivelyAndKeepsEqualNamesInTheirOrder)
{
    const OrderCase cases[] = {
        {{{L"reason", L"r"}, {L"contact", L"c"}, {L"sys_info", L"s"}},
         {{L"contact", L"c"}, {L"reason", L"r"}, {L"sys_info", L"s"}}},
        {{{L"A", L"1"}, {L"a", L"2"}}, {{L"A", L"1"}, {L"a", L"2"}}},
        {{{L"a", L"1"}, {L"A", L"2"}}, {{L"a", L"1"}, {L"A", L"2"}}},
        {{{L"x", L"1"}, {L"X", L"2"}, {L"x", L"3"}}, {{L"x", L"1"}, {L"X", L"2"}, {L"x", L"3"}}},
        {{{L"B", L"1"}, {L"a", L"2"}}, {{L"a", L"2"}, {L"B", L"1"}}},
        // Only A-Z fold: "_" (0x5F) sorts before every letter, "Z" as "z".
        {{{L"Z", L"1"}, {L"_", L"2"}}, {{L"_", L"2"}, {L"Z", L"1"}}},
        {{{L"ab", L"1"}, {L"a", L"2"}}, {{L"a", L"2"}, {L"ab", L"1"}}},
        {{{L"\u00E9", L"1"}, {L"\u00C9", L"2"}}, {{L"\u00C9", L"2"}, {L"\u00E9", L"1"}}},
    };
    for (const OrderCase& c : cases) {
        CHttpClientMapT map;
        for (const Entry& entry : c.added)
            map.Add(entry.first.c_str(), entry.second.c_str());
        EXPECT_EQ(map.Count(), c.added.size());
        EXPECT_EQ(Walk(map), c.walked);
    }
}

TEST(HttpClientMap, KeepsCopiesAndAbsentValues)
{
    CHttpClientMapT map;
    std::wstring name = L"name";
    std::wstring value = L"value";
    map.Add(name.c_str(), value.c_str());
    map.Add(L"other", nullptr);
    name[0] = L'X';
    value[0] = L'X';
    EXPECT_EQ(Walk(map), (std::vector<Entry>{{L"name", L"value"}, {L"other", L"<absent>"}}));

    map.Clear();
    EXPECT_EQ(map.Count(), 0u);
    EXPECT_TRUE(Walk(map).empty());
}

TEST(HttpClientMap, AnAbsentNameIsRefused)
{
    CHttpClientMapT map;
    try {
        map.Add(nullptr, L"v");
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(), L"CHttpClientMapT::Add: szName can not be NULL.");
        EXPECT_EQ(error.GetCode(), 0u);
    }
    try {
        map.AddPointerDirectly(nullptr, nullptr);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(),
                     L"CHttpClientMapT::AddPointerDirectly: szName can not be NULL.");
    }
    EXPECT_EQ(map.Count(), 0u);
}

TEST(HttpClientMap, TakesOverBuffersHandedToIt)
{
    CHttpClientMapT map;
    CHttpClientMapT::OwnedText name(new wchar_t[2]{L'n', L'\0'});
    const wchar_t* buffer = name.get();
    map.AddPointerDirectly(std::move(name), nullptr);
    ASSERT_EQ(map.Count(), 1u);
    EXPECT_EQ(map.begin()->first.get(), buffer);
}
