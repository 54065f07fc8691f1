// The skin markup reader: every load error from a minimal input, the leniencies the shipped
// skin needs, entities, and a robustness loop over generated and damaged documents (the
// sanitizer build catches any read outside the reader's buffer).
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "SkinTestSupport.h"
#include "ZipTestArchive.h"
#include "common/ZipReader.h"
#include "ui/SkinMarkup.h"
#include "ui/SkinAttributes.h"

using namespace SkinUI;

namespace {

bool LoadText(CSkinMarkup& markup, const std::string& text) {
    return markup.Load(text.data(), text.size());
}

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<a>";
    }
    for (int i = 0; i < depth; ++i) {
        text += "</a>";
    }
    return text;
}

// Visits every element and attribute, as the builder would.
size_t WalkTree(const CSkinMarkupNode& node) {
    size_t count = 0;
    for (CSkinMarkupNode n = node; n.IsValid(); n = n.GetSibling()) {
        count += 1 + n.GetName().size() + n.GetValue().size();
        for (int i = 0; i < n.GetAttributeCount(); ++i) {
            count += n.GetAttributeName(i).size() + n.GetAttributeValue(i).size();
        }
        count += WalkTree(n.GetChild());
    }
    return count;
}

}  // namespace

TEST(SkinMarkupTest, EachLoadErrorHasItsMessage) {
    const std::string zip =
        BuildZipArchive({{"ok.xml", "<a/>"}, {"bad.xml", "<a/>", true, -1, 0x1234}});
    CZipReader reader;
    ASSERT_TRUE(reader.Open(zip.data(), zip.size()));
    const std::string tooLarge(CSkinMarkup::kMaxFileSize + 1, ' ');

    const struct {
        std::function<bool(CSkinMarkup&)> load;
        const char* message;
    } cases[] = {
        {[](CSkinMarkup& m) { return m.LoadFromFile(L"/nonexistent/skin.xml"); },
         "Error opening file"},
        {[](CSkinMarkup& m) { return m.LoadFromFile(L"/"); }, "Could not read file"},
        {[](CSkinMarkup& m) { return LoadText(m, ""); }, "File is empty"},
        {[&](CSkinMarkup& m) { return LoadText(m, tooLarge); }, "File too large"},
        {[](CSkinMarkup& m) { return m.LoadFromZip(nullptr, L"ok.xml"); },
         "Error opening zip file"},
        {[&](CSkinMarkup& m) { return m.LoadFromZip(&reader, L"none.xml"); },
         "Could not find ziped file"},
        {[&](CSkinMarkup& m) { return m.LoadFromZip(&reader, L"bad.xml"); },
         "Could not unzip file"},
        {[](CSkinMarkup& m) { return LoadText(m, "text"); }, "Expected start tag"},
        {[](CSkinMarkup& m) { return LoadText(m, " <!-- nothing --> "); }, "Expected start tag"},
        {[](CSkinMarkup& m) { return LoadText(m, "<>"); }, "Error parsing element name"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a><-/></a>"); }, "Error parsing element name"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a"); }, "Expected start-tag closing"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a/b>"); }, "Expected start-tag closing"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a><b/>"); }, "Expected end-tag start"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a></b>"); }, "Unmatched closing tag"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a b>"); }, "Error while parsing attributes"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a b='1'/>"); }, "Expected attribute value"},
        {[](CSkinMarkup& m) { return LoadText(m, "<a b=\"1/>"); },
         "Error while parsing attribute string"},
        {[](CSkinMarkup& m) { return LoadText(m, Nested(CSkinMarkup::kMaxDepth + 1)); },
         "Elements nested too deeply"},
    };
    for (const auto& c : cases) {
        CSkinMarkup markup;
        EXPECT_FALSE(c.load(markup)) << c.message;
        EXPECT_EQ(c.message, markup.GetLastErrorMessage());
        EXPECT_FALSE(markup.GetRoot().IsValid()) << c.message;
    }
    CSkinMarkup markup;
    EXPECT_TRUE(LoadText(markup, Nested(CSkinMarkup::kMaxDepth)));
    EXPECT_TRUE(markup.LoadFromZip(&reader, L"OK.XML"));
}

TEST(SkinMarkupTest, AcceptsTheShippedLeniencies) {
    CSkinMarkup markup;
    const std::string text =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- c --><Window>\r\n"
        "<Button a = \"1\"b=\"2\"c=\"x y\" />text &amp; more<!-- inner -->\r\n"
        "<Label/></Window>";
    ASSERT_TRUE(LoadText(markup, text)) << markup.GetLastErrorMessage();
    const CSkinMarkupNode root = markup.GetRoot();
    EXPECT_EQ(L"Window", root.GetName());
    EXPECT_EQ(L"text & more", root.GetValue().substr(0, 11));
    const CSkinMarkupNode button = root.GetChild();
    ASSERT_EQ(3, button.GetAttributeCount());
    EXPECT_EQ(L"b", button.GetAttributeName(1));
    EXPECT_EQ(L"2", button.GetAttributeValue(1));
    EXPECT_EQ(L"x y", button.GetAttributeValue(2));
    EXPECT_EQ(L"Label", button.GetSibling().GetName());
    EXPECT_FALSE(button.GetSibling().GetSibling().IsValid());
    EXPECT_EQ(L"Window", button.GetParent().GetName());

    std::string many = "<a";
    for (int i = 0; i < 70; ++i) {
        many += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    }
    ASSERT_TRUE(LoadText(markup, many + "/>"));
    EXPECT_EQ(CSkinMarkup::kMaxAttributes, markup.GetRoot().GetAttributeCount());
    EXPECT_EQ(L"63", markup.GetRoot().GetAttributeValue(63));
}

TEST(SkinMarkupTest, ReplacesOnlyThePredefinedEntities) {
    const struct {
        const char* stored;
        const wchar_t* read;
    } cases[] = {
        {"Install &gt;&gt;", L"Install >>"},
        {"&lt;&amp;&quot;&apos;", L"<&\"'"},
        {"&amp;lt;", L"&lt;"},
        {"a &nbsp; b &#65; &amp", L"a &nbsp; b &#65; &amp"},
        {"  two  blanks ", L"  two  blanks "},
        {"\xE9\xA6\x96\xE9\xA1\xB5", L"\u9996\u9875"},
    };
    for (const auto& c : cases) {
        CSkinMarkup markup;
        ASSERT_TRUE(
            LoadText(markup, std::string("<a v=\"") + c.stored + "\">" + c.stored + "</a>"));
        std::wstring value;
        ASSERT_TRUE(markup.GetRoot().GetAttributeValue(L"v", value));
        EXPECT_EQ(c.read, value) << c.stored;
        EXPECT_EQ(c.read, markup.GetRoot().GetValue()) << c.stored;
    }
}

TEST(SkinMarkupTest, SurvivesGeneratedAndDamagedDocuments) {
    const std::string shipped = ReadTestSkinFile("home.xml");
    ASSERT_FALSE(shipped.empty());
    std::mt19937 random(20240611);
    const std::string alphabet = "<>/=\"' \r\n\t&;?!-abAB_:01\xEF\xBB\xBF\xC3";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        switch (round % 3) {
            case 0:  // a truncated copy of a real skin file
                text = shipped.substr(0, random() % shipped.size());
                break;
            case 1: {  // a real skin file with bytes replaced
                text = shipped;
                for (int i = 0; i < 8; ++i) {
                    text[random() % text.size()] = alphabet[random() % alphabet.size()];
                }
                break;
            }
            default:  // markup-like noise, often inside an open element
                text = round % 2 == 0 ? "<a>" : "";
                for (size_t i = random() % 400; i > 0; --i) {
                    text += alphabet[random() % alphabet.size()];
                }
        }
        CSkinMarkup markup;
        if (markup.Load(text.data(), text.size())) {
            WalkTree(markup.GetRoot());
        } else {
            EXPECT_LE(markup.GetLastErrorOffset(), text.size());
        }
    }
}

TEST(SkinValuesTest, ReadsSizesAlignmentsAndAttributeLists) {
    EXPECT_EQ((SkinSize{650, 360}), ParseSkinSize(L"650,360"));
    EXPECT_EQ((SkinSize{2, 0}), ParseSkinSize(L"2"));
    EXPECT_EQ((SkinSize{10, 20}), ParseSkinSize(L"10x20"));
    EXPECT_EQ(kTextRight, ParseSkinAlign(L"left right", kTextCenter));
    EXPECT_EQ(kTextCenter, ParseSkinAlign(L"middle", kTextCenter));
    const SkinAttributeList expected = {{L"a", L"1"}, {L"b", L"x y"}};
    EXPECT_EQ(expected, ParseSkinAttributeList(L"a=\"1\" b=\"x y\""));
    EXPECT_EQ(expected, ParseSkinAttributeList(L"a=\"1\" b=\"x y\"  c=\"3\""));
    EXPECT_EQ((SkinAttributeList{{L"a", L"1"}}), ParseSkinAttributeList(L"a=\"1\",b=\"2\""));
}
