#include "ui/SkinBuilder.h"

#include "ui/SkinManager.h"
#include "ui/SkinMarkup.h"
#include "ui/SkinPackage.h"
#include "ui/controls/Button.h"
#include "ui/controls/Container.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Progress.h"
#include "ui/controls/TabLayout.h"

namespace SkinUI {

namespace {

template <typename T>
std::unique_ptr<CControlUI> Make() {
    return std::make_unique<T>();
}

struct ElementClass {
    const wchar_t* element;
    std::unique_ptr<CControlUI> (*create)();
};

constexpr ElementClass kElementClasses[] = {
    {L"Control", &Make<CControlUI>},
    {L"Container", &Make<CContainerUI>},
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"VBox", &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"HBox", &Make<CHorizontalLayoutUI>},
    {L"TabLayout", &Make<CTabLayoutUI>},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CTextUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"Edit", &Make<CEditUI>},
};

std::wstring Attribute(const CSkinMarkupNode& node, const wchar_t* name) {
    std::wstring value;
    node.GetAttributeValue(name, value);
    return value;
}

bool IsResourceElement(const std::wstring& name) {
    return EqualsNoCase(name, L"Image") || EqualsNoCase(name, L"Font") ||
           EqualsNoCase(name, L"Default") || EqualsNoCase(name, L"MultiLanguage");
}

}  // namespace

CSkinBuilder::CSkinBuilder(const CSkinPackage& package, ISkinBuilderCallback* callback)
    : package_(package), callback_(callback) {}

CSkinBuilder::~CSkinBuilder() = default;

std::unique_ptr<CControlUI> CSkinBuilder::CreateControl(const std::wstring& elementName) {
    for (const ElementClass& entry : kElementClasses) {
        if (EqualsNoCase(elementName, entry.element)) {
            return entry.create();
        }
    }
    return nullptr;
}

std::unique_ptr<CControlUI> CSkinBuilder::Build(const std::wstring& file, CSkinManagerUI* manager) {
    CSkinMarkup markup;
    if (!package_.LoadMarkup(markup, file)) {
        lastError_ = markup.GetLastErrorMessage();
        return nullptr;
    }
    return Build(markup, manager);
}

std::unique_ptr<CControlUI> CSkinBuilder::Build(const CSkinMarkup& markup,
                                                CSkinManagerUI* manager) {
    Reset();
    std::unique_ptr<CControlUI> root;
    BuildWindow(markup, manager, nullptr, root);
    return root;
}

CControlUI* CSkinBuilder::Build(const std::wstring& file, CSkinManagerUI* manager,
                                CControlUI& parent) {
    CSkinMarkup markup;
    if (!package_.LoadMarkup(markup, file)) {
        lastError_ = markup.GetLastErrorMessage();
        return nullptr;
    }
    Reset();
    std::unique_ptr<CControlUI> unused;
    return BuildWindow(markup, manager, &parent, unused);
}

void CSkinBuilder::Reset() {
    budget_ = kMaxControls;
    includes_.clear();
}

CControlUI* CSkinBuilder::BuildWindow(const CSkinMarkup& markup, CSkinManagerUI* manager,
                                      CControlUI* parent, std::unique_ptr<CControlUI>& orphan) {
    const CSkinMarkupNode root = markup.GetRoot();
    if (!root.IsValid()) {
        return nullptr;
    }
    if (manager != nullptr) {
        RegisterResources(root, *manager);
        if (EqualsNoCase(root.GetName(), L"Window") && manager->HasWindow()) {
            for (int i = 0; i < root.GetAttributeCount(); ++i) {
                manager->SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
            }
        }
    }
    return BuildChildren(root, parent, manager, orphan);
}

void CSkinBuilder::RegisterResources(const CSkinMarkupNode& root, CSkinManagerUI& manager) {
    for (CSkinMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const std::wstring name = node.GetName();
        if (EqualsNoCase(name, L"Image")) {
            SkinImageEntry image;
            image.name = Attribute(node, L"name");
            image.resourceType = Attribute(node, L"restype");
            image.mask = ParseSkinColor(Attribute(node, L"mask"));
            image.shared = ParseSkinBool(Attribute(node, L"shared"));
            if (!image.name.empty()) {
                manager.AddImage(image);
            }
        } else if (EqualsNoCase(name, L"Font")) {
            SkinFontEntry font;
            // Without an identifier the font replaces nothing (it would read as font 0).
            std::wstring id;
            font.id = node.GetAttributeValue(L"id", id) ? ParseSkinInt(id) : -1;
            font.face = Attribute(node, L"name");
            std::wstring size;
            font.size = node.GetAttributeValue(L"size", size) ? ParseSkinInt(size) : 12;
            font.bold = ParseSkinBool(Attribute(node, L"bold"));
            font.underline = ParseSkinBool(Attribute(node, L"underline"));
            font.italic = ParseSkinBool(Attribute(node, L"italic"));
            font.shared = ParseSkinBool(Attribute(node, L"shared"));
            if (font.id >= 0 && !font.face.empty()) {
                manager.AddFont(font);
                if (ParseSkinBool(Attribute(node, L"default"))) {
                    manager.SetDefaultFont(font);
                }
            }
        } else if (EqualsNoCase(name, L"Default")) {
            const std::wstring element = Attribute(node, L"name");
            if (!element.empty()) {
                manager.AddDefaultAttributeList(element, Attribute(node, L"value"));
            }
        } else if (EqualsNoCase(name, L"MultiLanguage")) {
            manager.AddMultiLanguageString(ParseSkinInt(Attribute(node, L"id")),
                                           Attribute(node, L"value"));
        }
    }
}

CControlUI* CSkinBuilder::BuildChildren(const CSkinMarkupNode& node, CControlUI* parent,
                                        CSkinManagerUI* manager,
                                        std::unique_ptr<CControlUI>& orphan) {
    if (depth_ >= kMaxBuildDepth) {
        return nullptr;
    }
    ++depth_;
    CControlUI* first = nullptr;
    for (CSkinMarkupNode child = node.GetChild(); child.IsValid() && budget_ > 0;
         child = child.GetSibling()) {
        const std::wstring name = child.GetName();
        if (IsResourceElement(name)) {
            continue;
        }
        if (EqualsNoCase(name, L"Include") && child.HasAttributes()) {
            CControlUI* included = BuildInclude(child, parent, manager, orphan);
            first = first != nullptr ? first : included;
            continue;
        }
        std::unique_ptr<CControlUI> control = MakeControl(name, manager);
        if (!control) {
            continue;  // unknown: the element and its subtree are skipped
        }
        --budget_;
        CControlUI* made = control.get();
        if (child.HasChildren()) {
            std::unique_ptr<CControlUI> unused;
            BuildChildren(child, made, manager, unused);
        }
        if (parent != nullptr) {
            CContainerUI* container = parent->AsContainer();
            if (container == nullptr) {
                continue;  // only containers hold children: the control is dropped
            }
            if (Attribute(child, L"cover") == L"true") {
                container->SetCover(std::move(control));
            } else {
                container->Add(std::move(control));
            }
        } else if (orphan) {
            continue;  // without a parent only the first control survives
        } else {
            orphan = std::move(control);
        }
        ApplyAttributes(child, *made, manager);
        first = first != nullptr ? first : made;
    }
    --depth_;
    return first;
}

CControlUI* CSkinBuilder::BuildInclude(const CSkinMarkupNode& node, CControlUI* parent,
                                       CSkinManagerUI* manager,
                                       std::unique_ptr<CControlUI>& orphan) {
    std::wstring source;
    if (!node.GetAttributeValue(L"source", source) || includeDepth_ >= kMaxIncludeDepth) {
        return nullptr;
    }
    std::wstring countText;
    const int count = node.GetAttributeValue(L"count", countText) ? ParseSkinInt(countText) : 1;
    // Each file is read once per Build, however often it is included.
    std::unique_ptr<CSkinMarkup>& markup = includes_[source];
    if (!markup) {
        markup = std::make_unique<CSkinMarkup>();
        package_.LoadMarkup(*markup, source);
    }
    if (!markup->IsValid()) {
        return nullptr;  // a file that does not load contributes nothing
    }
    CControlUI* first = nullptr;
    // Every copy costs one unit of the budget, even one that makes no control.
    for (int i = 0; i < count && budget_ > 0; ++i, --budget_) {
        ++includeDepth_;
        CControlUI* made = BuildWindow(*markup, manager, parent, orphan);
        --includeDepth_;
        first = first != nullptr ? first : made;
    }
    return first;
}

std::unique_ptr<CControlUI> CSkinBuilder::MakeControl(const std::wstring& name,
                                                      CSkinManagerUI* manager) {
    std::unique_ptr<CControlUI> control = CreateControl(name);
    if (!control && manager != nullptr) {
        control = manager->CreateFromPlugins(name);
    }
    if (!control && callback_ != nullptr) {
        control = callback_->CreateControl(name);
    }
    return control;
}

void CSkinBuilder::ApplyAttributes(const CSkinMarkupNode& node, CControlUI& control,
                                   CSkinManagerUI* manager) {
    // Attached while its attributes are applied, so that handlers can reach the manager;
    // the finished tree is attached for good by the window.
    const bool temporary = manager != nullptr && control.GetManager() == nullptr;
    if (temporary) {
        control.SetOwner(manager, control.GetParent());
    }
    if (manager != nullptr) {
        if (const std::wstring* defaults = manager->GetDefaultAttributeList(node.GetName())) {
            control.ApplyAttributeList(*defaults);
        }
    }
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        control.SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    }
    if (temporary) {
        control.SetOwner(nullptr, control.GetParent());
    }
}

}  // namespace SkinUI
