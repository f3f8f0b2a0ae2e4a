#include "infra/options_schema.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "infra/codepage.h"
#include "test_paths.h"

using namespace quorvane;
using test::readFile;
using test::scratchDir;
using test::writeFile;

// "font" must be the whole text, braces must close and come first, prefixes are case-sensitive.
TEST(OptionType, EachPrefixGivesItsKindLengthBoundsOrChoices) {
    const std::pair<const char*, OptionKind> cases[] = {
        {"{0:固定IP,1:DHCP分配}", OptionKind::Enumeration},
        {"integer:5,100", OptionKind::Integer},
        {"file:*.txt", OptionKind::File},
        {"dir:", OptionKind::Directory},
        {"limit:15", OptionKind::Limit},
        {"color", OptionKind::Color},
        {"colorref", OptionKind::Color},
        {"font", OptionKind::Font},
        {"fonts", OptionKind::Text},
        {"{0:a", OptionKind::Text},
        {"Integer:1,2", OptionKind::Text},
        {"{integer:1}", OptionKind::Enumeration}};
    for (auto [text, kind] : cases)
        EXPECT_EQ(parseOptionType(text).kind, kind) << text;
    // A limit takes its length from the rest.
    EXPECT_EQ(parseOptionType("limit:15").maxLength, 15u);
    EXPECT_EQ(parseOptionType("limit:").maxLength, 0u);
    OptionType t = parseOptionType("{1:开,0:关}");
    ASSERT_EQ(t.choices.size(), 2u);
    EXPECT_EQ(choiceLabel(t, "1"), "开");
    EXPECT_EQ(choiceLabel(t, "7"), ""); // a stored value outside the list shows empty
    EXPECT_EQ(choiceValue(t, "关"), "0");
    EXPECT_EQ(choiceValue(t, "半开"), "999999-INVALID_OPTION_KEY");
    EXPECT_TRUE(parseOptionType("{}").choices.empty());
    // A bound left out stays open.
    const std::tuple<const char*, long long, long long> bounds[] = {
        {"integer:5,100", 5, 100},
        {"integer:-20, 30", -20, 30},
        {"integer:1", 1, LLONG_MAX},
        {"integer:", LLONG_MIN, LLONG_MAX}};
    for (auto [text, minimum, maximum] : bounds) {
        OptionType r = parseOptionType(text);
        EXPECT_EQ(std::pair(r.minimum, r.maximum), std::pair(minimum, maximum)) << text;
    }
    for (auto [text, allowed] :
         {std::pair{"-12.5", true}, {"", true}, {"12a", false}, {" 1", false}, {"+1", false}})
        EXPECT_EQ(integerTextAllowed(text), allowed) << text;
}

namespace {
std::string schemaText() {
    return "[common]\nfiles=.\\config.ini;;.\\sub\\other.ini;\n"
           "[.\\config.ini]\nsections=net;common\n"
           "[.\\config.ini$net]\nkeys=enable-mcast;mcast-address;search-on-start\n"
           "[.\\config.ini$net$enable-mcast]\nname=网络组播\ndesc=是否组播\noption={1:开,0:关}\n"
           "[.\\config.ini$net$mcast-address]\nname=组播地址\noption=limit:15\n"
           "[.\\config.ini$net$search-on-start]\noption=integer:0,1\n"
           "[.\\config.ini$common]\nkeys=title\n"
           "[.\\config.ini$common$title]\nname=窗口标题\noption=\n"
           "[.\\sub\\other.ini]\nsections=z1\n"
           "[.\\sub\\other.ini$z1]\nkeys=face\n"
           "[.\\sub\\other.ini$z1$face]\nname=字体\noption=font\n";
}
} // namespace

TEST(OptionsSchema, ReadsEveryFileSectionAndKeyAndWritesBackOnlyChangedRows) {
    std::string home = scratchDir("schema");
    Settings settings(home);
    EXPECT_TRUE(readOptionsSchema(settings).empty()); // no schema yet
    writeFile(home + "/options.ini", toGbk(schemaText()));
    // The quoted value reads as 224.10.0.0; rewriting it unchanged would drop the quotes.
    writeFile(home + "/config.ini",
              toGbk("; site settings\n[net]\nenable-mcast=0\nmcast-address = \"224.10.0.0\"\n"
                    "[common]\ntitle=门禁\n"));
    std::filesystem::create_directories(home + "/sub");
    writeFile(home + "/sub/other.ini", "[z1]\nface=x\n");

    auto groups = readOptionsSchema(settings);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].section, "net");
    ASSERT_EQ(groups[0].rows.size(), 3u);
    const OptionRow& mcast = groups[0].rows[0];
    EXPECT_EQ(mcast.displayName(), "网络组播");
    EXPECT_EQ(mcast.desc, "是否组播");
    EXPECT_EQ(mcast.value, "0");
    EXPECT_EQ(groups[0].rows[1].value, "224.10.0.0");
    // No name: the key itself is shown; a missing key reads empty.
    EXPECT_EQ(groups[0].rows[2].displayName(), "search-on-start");
    EXPECT_EQ(groups[0].rows[2].value, "");
    EXPECT_EQ(groups[1].rows[0].value, "门禁");
    EXPECT_EQ(groups[2].file, ".\\sub\\other.ini");
    EXPECT_EQ(groups[2].rows[0].type.kind, OptionKind::Font);
    EXPECT_EQ(groups[2].rows[0].value, "x");

    groups[0].rows[0].edited = "1";
    groups[1].rows[0].edited = "新标题";
    OptionWriteResult result = writeChangedOptions(settings, groups);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(fromGbk(readFile(home + "/config.ini")),
              "; site settings\n[net]\nenable-mcast=1\nmcast-address = \"224.10.0.0\"\n"
              "[common]\ntitle=新标题\n");
    EXPECT_EQ(readFile(home + "/sub/other.ini"), "[z1]\nface=x\n");

    result = writeChangedOptions(settings, groups);
    EXPECT_EQ(result.written, 0);
    EXPECT_TRUE(result.ok);
}

TEST(OptionsSchema, ShippedSchemaNamesAndDescribesEveryKey) {
    std::string home = scratchDir("schema-dist");
    writeFile(home + "/options.ini", readFile(test::sourceDir() + "/dist/options.ini"));
    Settings settings(home);
    auto groups = readOptionsSchema(settings);
    ASSERT_EQ(groups.size(), 9u); // eight sections of config.ini, one of static.ini
    for (const auto& g : groups) {
        ASSERT_FALSE(g.rows.empty()) << g.section;
        for (const auto& r : g.rows)
            EXPECT_FALSE(r.name.empty() || r.desc.empty() || r.option.empty()) << r.key;
    }
    // The search addresses are stored as unsigned numbers (224.10.0.0 is 3758751744) or as -1:
    // the spin range holds both, so a step never clamps an address to another one.
    for (int at : {2, 3}) {
        const OptionRow& address = groups[0].rows[static_cast<std::size_t>(at)];
        EXPECT_NE(address.key.find("broadcast-address"), std::string::npos);
        EXPECT_LE(address.type.minimum, -1);
        EXPECT_GE(address.type.maximum, 4294967295LL);
    }
    EXPECT_EQ(groups.back().file, ".\\config\\static.ini");
}
