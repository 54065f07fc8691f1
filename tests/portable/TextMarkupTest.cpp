// The label markup parsed into runs, the "{%n}" tokens, and random input.
#include <gtest/gtest.h>

#include <random>

#include "ui/render/TextMarkup.h"

using namespace SkinUI;

namespace {

// A compact picture of the runs: text pieces with their styles, e.g. "[b:x]" or "[c336699:y]".
std::wstring Describe(const MarkupText& m) {
    std::wstring out;
    for (const MarkupRun& r : m.runs) {
        switch (r.kind) {
            case MarkupRun::Kind::LineBreak:
                out += L"|";
                continue;
            case MarkupRun::Kind::ParagraphBreak:
                out += L"||";
                continue;
            case MarkupRun::Kind::Image:
                out += L"<img " + r.text + L">";
                continue;
            case MarkupRun::Kind::Offset:
                out += L"<x" + std::to_wstring(r.offset) + L">";
                continue;
            case MarkupRun::Kind::Text:
                break;
        }
        std::wstring tags;
        const MarkupStyle& s = r.style;
        if (s.hasColor) {
            wchar_t hex[16];
            swprintf(hex, 16, L"c%06X", static_cast<unsigned>(s.color));
            tags += hex;
        }
        tags += s.bold ? L"b" : L"";
        tags += s.italic ? L"i" : L"";
        tags += s.underline ? L"u" : L"";
        tags += s.selected ? L"s" : L"";
        tags += s.link >= 0 ? L"a" + std::to_wstring(s.link) : L"";
        tags += s.font.id >= 0 ? L"f" + std::to_wstring(s.font.id) : L"";
        tags += !s.font.face.empty() ? L"f" + s.font.face + std::to_wstring(s.font.size) : L"";
        tags += s.lineHeight > 0 ? L"y" + std::to_wstring(s.lineHeight) : L"";
        tags += s.valign == VerticalAlign::Center ? L"vc" : L"";
        out += tags.empty() ? r.text : L"[" + tags + L":" + r.text + L"]";
    }
    return out;
}

}  // namespace

TEST(TextMarkupTest, TagsBecomeStyledRuns) {
    const struct {
        const wchar_t* input;
        const wchar_t* runs;
    } cases[] = {
        {L"plain & simple", L"plain & simple"},
        {L"Install >>", L"Install >>"},
        {L"I've read {u}{a https://x.example/l}Licence{/a}{/u}.", L"I've read [ua0:Licence]."},
        {L"<c #33C08D>green</c> <c 33C08D>too</c>", L"[c33C08D:green] [c33C08D:too]"},
        {L"{c #FF33C08D}alpha dropped later{/c}", L"[cFF33C08D:alpha dropped later]"},
        {L"<b>bold <i>both</i></b> none", L"[b:bold ][bi:both] none"},
        {L"{b}crossed {i}tags{/b} stay{/i}", L"[b:crossed ][bi:tags][i: stay]"},
        {L"{c #111111}a{c #222222}b{/c}c{/c}d", L"[c111111:a][c222222:b][c111111:c]d"},
        {L"line{n}next\r\nthird", L"line|next|third"},
        {L"{p}one{/p}{p}two{/p}", L"one||two||"},
        {L"x{x 12}y", L"x<x12>y"},
        {L"{i img/a.png}{i}slanted{/i}", L"<img img/a.png>[i:slanted]"},
        {L"{f 1}id{/f}{f Segoe UI 14 bold}desc{/f}", L"[f1:id][fSegoe UI14:desc]"},
        {L"{s}sel{/s}{y 30}tall{/y}{v center}mid{/v}", L"[s:sel][y30:tall][vc:mid]"},
        {L"{r}{b}raw{/b}{/r}{b}not{/b}", L"{b}raw{/b}[b:not]"},
        {L"{r}raw to the end {b}", L"raw to the end {b}"},
        // Not tags: they stay text; unmatched closing tags are dropped.
        {L"a < b > c {q} {B} {b", L"a < b > c {q} {B} {b"},
        {L"{bx}{c#fff}", L"{bx}{c#fff}"},
        {L"end{/b}{/a}.", L"end."},
        {L"{%1} stays", L"{%1} stays"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(c.runs), Describe(ParseMarkup(c.input))) << c.input;
    }
    const MarkupText links = ParseMarkup(L"{a one}1{/a} {a}2{/a}");
    EXPECT_EQ((std::vector<std::wstring>{L"one", L""}), links.links);
    EXPECT_EQ(L"1 2", MarkupPlainText(links));
}

TEST(TextMarkupTest, TokensAreReplacedWhenTheirTextExists) {
    const auto lookup = [](int id, std::wstring& out) {
        if (id == 0 || id == 12) {
            out = L"T" + std::to_wstring(id);
            return true;
        }
        return false;
    };
    const struct {
        const wchar_t* input;
        const wchar_t* output;
    } cases[] = {
        {L"{%0}", L"T0"},
        {L"a{%12}b{%0}", L"aT12bT0"},
        {L"{%3} kept", L"{%3} kept"},
        {L"{%} {%x} {%12", L"{%} {%x} {%12"},
        {L"{%0000000000012}", L"{%0000000000012}"},  // no endless digit strings
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(c.output), ReplaceTextTokens(c.input, lookup)) << c.input;
    }
}

TEST(TextMarkupTest, SurvivesRandomInput) {
    std::mt19937 random(3);
    const std::wstring alphabet = L"{}<>/ cuabisfpnxyvr#0123456789%\n\r\x0627";
    const auto lookup = [](int, std::wstring& out) {
        out = L"{b}";
        return true;
    };
    for (int round = 0; round < 20000; ++round) {
        std::wstring text(random() % 60, L' ');
        for (wchar_t& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const MarkupText m = ParseMarkup(ReplaceTextTokens(text, lookup));
        for (const MarkupRun& r : m.runs) {
            ASSERT_LT(r.style.link, static_cast<int>(m.links.size()));
        }
    }
}
