// Image descriptors as the skin writes them, and malformed ones that must stop cleanly.
#include <gtest/gtest.h>

#include <random>

#include "ui/render/ImageDescriptor.h"

using namespace SkinUI;

namespace {

struct DescriptorCase {
    const wchar_t* text;
    ImageDescriptor expected;
};

ImageDescriptor File(const wchar_t* file) {
    ImageDescriptor d;
    d.file = file;
    return d;
}

ImageDescriptor With(ImageDescriptor d, void (*change)(ImageDescriptor&)) {
    change(d);
    return d;
}

}  // namespace

TEST(ImageDescriptorTest, ParsesPlainNamesPairsAndStopsAtTheFirstMisfit) {
    const DescriptorCase cases[] = {
        {L"img\\browse-df.png", File(L"img\\browse-df.png")},
        {L"C:\\Program Files\\x y\\pr_01.png", File(L"C:\\Program Files\\x y\\pr_01.png")},
        {L"a=b.png", File(L"a=b.png")},
        {L"file='img/checked.png' dest='0,8,14,22'", With(File(L"img/checked.png"),
                                                          [](ImageDescriptor& d) {
                                                              d.hasDest = true;
                                                              d.dest = {0, 8, 14, 22};
                                                          })},
        {L"file='a.png' source='1,2,3,4' corner='5,6,7,8' mask='#FFFF00FF' fade='128' "
         L"hole='true' xtiled='true' ytiled='false'",
         With(File(L"a.png"),
              [](ImageDescriptor& d) {
                  d.hasSource = true;
                  d.source = {1, 2, 3, 4};
                  d.corner = {5, 6, 7, 8};
                  d.hasMask = true;
                  d.mask = 0xFFFF00FF;
                  d.fade = 128;
                  d.hole = true;
                  d.xtiled = true;
              })},
        {L"res='7' restype='PNG' scale9='1,1,1,1'", With(File(L"7"),
                                                         [](ImageDescriptor& d) {
                                                             d.resourceType = L"PNG";
                                                             d.corner = {1, 1, 1, 1};
                                                         })},
        {L"color='#80FF0000'", With(File(L""),
                                    [](ImageDescriptor& d) {
                                        d.hasColor = true;
                                        d.color = 0x80FF0000;
                                    })},
        {L"  file = 'a.png'", File(L"a.png")},
        {L"file='a.png' fade='999'",
         With(File(L"a.png"), [](ImageDescriptor& d) { d.fade = 255; })},
        {L"file='a.png' dest=''", File(L"a.png")},  // empty values are ignored
        // Malformed: parsing stops, what was read counts.
        {L"file='a.png' broken dest='0,0,1,1'", File(L"a.png")},
        {L"file='a.png'dest='0,0,1,1'", File(L"a.png")},
        {L"file='a.png' dest='0,0,1,1", File(L"a.png")},
        {L"file='a.png", File(L"file='a.png")},
        {L"file=a.png", File(L"file=a.png")},
        {L"file='a.png' ", File(L"a.png")},
        {L"", File(L"")},
    };
    for (const DescriptorCase& c : cases) {
        EXPECT_TRUE(ParseImageDescriptor(c.text) == c.expected) << "input: " << c.text;
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
