// CSkinBuilder: turns skin markup into a control tree. The root element's Image, Font,
// Default and MultiLanguage children register resources with the manager, its attributes
// become window attributes, its other children become controls; Include elements build
// other skin files into the current parent.
//
// Bounded for untrusted skins: includes nest at most kMaxIncludeDepth deep (a file that
// includes itself stops there), elements at most kMaxBuildDepth deep, and one Build call
// creates at most kMaxControls controls (each included copy counts as one).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "ui/SkinNotify.h"

namespace SkinUI {

class CControlUI;
class CSkinManagerUI;
class CSkinMarkup;
class CSkinMarkupNode;
class CSkinPackage;

class CSkinBuilder {
  public:
    static constexpr int kMaxIncludeDepth = 16;
    static constexpr int kMaxBuildDepth = 200;
    static constexpr int kMaxControls = 100000;

    // Skin files are read through |package|; |callback| is asked for unknown element names
    // after the manager's plug-ins.
    explicit CSkinBuilder(const CSkinPackage& package, ISkinBuilderCallback* callback = nullptr);
    ~CSkinBuilder();
    CSkinBuilder(const CSkinBuilder&) = delete;
    CSkinBuilder& operator=(const CSkinBuilder&) = delete;

    // Builds the window from |file|: returns the first control made from the children of the
    // root element, or nothing (the file failed to load, or it holds no control).
    std::unique_ptr<CControlUI> Build(const std::wstring& file, CSkinManagerUI* manager);
    // The same from markup already loaded.
    std::unique_ptr<CControlUI> Build(const CSkinMarkup& markup, CSkinManagerUI* manager);
    // Adds every control made from |file| to |parent|; returns the first one (owned by
    // |parent|) or null.
    CControlUI* Build(const std::wstring& file, CSkinManagerUI* manager, CControlUI& parent);

    // The reader's error for the root file of the last Build that could not load it.
    const std::string& GetLastError() const { return lastError_; }

    // The control class of an element name (case-insensitive), or nothing for names this
    // toolkit does not build.
    static std::unique_ptr<CControlUI> CreateControl(const std::wstring& elementName);

  private:
    void Reset();
    CControlUI* BuildWindow(const CSkinMarkup& markup, CSkinManagerUI* manager, CControlUI* parent,
                            std::unique_ptr<CControlUI>& orphan);
    void RegisterResources(const CSkinMarkupNode& root, CSkinManagerUI& manager);
    CControlUI* BuildChildren(const CSkinMarkupNode& node, CControlUI* parent,
                              CSkinManagerUI* manager, std::unique_ptr<CControlUI>& orphan);
    CControlUI* BuildInclude(const CSkinMarkupNode& node, CControlUI* parent,
                             CSkinManagerUI* manager, std::unique_ptr<CControlUI>& orphan);
    std::unique_ptr<CControlUI> MakeControl(const std::wstring& name, CSkinManagerUI* manager);
    void ApplyAttributes(const CSkinMarkupNode& node, CControlUI& control, CSkinManagerUI* manager);

    const CSkinPackage& package_;
    ISkinBuilderCallback* callback_;
    std::string lastError_;
    std::map<std::wstring, std::unique_ptr<CSkinMarkup>> includes_;
    int includeDepth_ = 0;
    int depth_ = 0;
    int budget_ = 0;
};

}  // namespace SkinUI
