// Image descriptors as the skin writes them, and malformed ones that must stop cleanly.
#include <gtest/gtest.h>

#include <random>

#include "ui/render/ImageDescriptor.h"

using namespace SkinUI;

namespace {

std::wstring Rect(const IntRect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
}

// Every field that differs from its default, e.g. "file=a.png dest=0,8,14,22".
std::wstring Describe(const ImageDescriptor& d) {
    const ImageDescriptor none;
    std::wstring out = L"file=" + d.file;
    out += d.resourceType.empty() ? L"" : L" restype=" + d.resourceType;
    out += d.hasColor ? L" color=" + std::to_wstring(d.color) : L"";
    out += d.hasDest ? L" dest=" + Rect(d.dest) : L"";
    out += d.hasSource ? L" source=" + Rect(d.source) : L"";
    out += d.corner == none.corner ? L"" : L" corner=" + Rect(d.corner);
    out += d.hasMask ? L" mask=" + std::to_wstring(d.mask) : L"";
    out += d.fade == 255 ? L"" : L" fade=" + std::to_wstring(d.fade);
    out += std::wstring(d.hole ? L" hole" : L"") + (d.xtiled ? L" xtiled" : L"") +
           (d.ytiled ? L" ytiled" : L"");
    return out;
}

}  // namespace

TEST(ImageDescriptorTest, ParsesPlainNamesPairsAndStopsAtTheFirstMisfit) {
    const struct {
        const wchar_t* input;
        const wchar_t* parsed;
    } cases[] = {
        {L"img\\browse-df.png", L"file=img\\browse-df.png"},
        {L"C:\\Program Files\\x y\\pr_01.png", L"file=C:\\Program Files\\x y\\pr_01.png"},
        {L"a=b.png", L"file=a=b.png"},
        {L"file='img/checked.png' dest='0,8,14,22'", L"file=img/checked.png dest=0,8,14,22"},
        {L"file='a.png' source='1,2,3,4' corner='5,6,7,8' mask='#FFFF00FF' fade='128' "
         L"hole='true' xtiled='true' ytiled='false'",
         L"file=a.png source=1,2,3,4 corner=5,6,7,8 mask=4294902015 fade=128 hole xtiled"},
        {L"res='7' restype='PNG' scale9='1,1,1,1'", L"file=7 restype=PNG corner=1,1,1,1"},
        {L"color='#80FF0000'", L"file= color=2164195328"},
        {L"  file = 'a.png'", L"file=a.png"},
        {L"file='a.png' fade='999'", L"file=a.png"},
        {L"file='a.png' dest=''", L"file=a.png"},  // empty values are ignored
        // Malformed: parsing stops, what was read counts.
        {L"file='a.png' broken dest='0,0,1,1'", L"file=a.png"},
        {L"file='a.png'dest='0,0,1,1'", L"file=a.png"},
        {L"file='a.png' dest='0,0,1,1", L"file=a.png"},
        {L"file='a.png", L"file=file='a.png"},
        {L"file=a.png", L"file=file=a.png"},
        {L"file='a.png' ", L"file=a.png"},
        {L"", L"file="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(c.parsed), Describe(ParseImageDescriptor(c.input))) << c.input;
    }
}

TEST(ImageDescriptorTest, SurvivesRandomAndTruncatedInput) {
    const std::wstring good =
        L"file='img/a.png' dest='0,8,14,22' source='1,2,3,4' corner='2,2,2,2' mask='#FF00FF' "
        L"fade='10' hole='true'";
    for (size_t n = 0; n <= good.size(); ++n) {
        ParseImageDescriptor(std::wstring_view(good).substr(0, n));
    }
    std::mt19937 random(7);
    const std::wstring alphabet = L"='# ,0123456789abfiledstcrmh-";
    for (int round = 0; round < 20000; ++round) {
        std::wstring text(random() % 40, L' ');
        for (wchar_t& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        ParseImageDescriptor(text);
    }
}
