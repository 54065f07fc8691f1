#include "common/LanguageManager.h"

#include "common/Log.h"
#include "common/StringUtil.h"
#include "common/SystemInfo.h"

namespace {

constexpr wchar_t kDefaultLanguage[] = L"English";
constexpr wchar_t kDefaultBrand[] = L"Tandrel";

}  // namespace

const IniMap& LanguageManager::DefaultTexts() {
    static const IniMap defaults = {
        {L"STR_INSTALL", L"Install"},
        {L"STR_BROWSE", L"Browse"},
        {L"STR_LISENCE", L"I've read and agreed to {c COLOR}BRAND License Agreement{/c}"},
        {L"STR_CUSTOMIZE_INSTALL", L"Customize Installation"},
        {L"STR_INSTALL_PATH", L"Installation Path"},
        {L"STR_SELECT_FOLDER", L"Select a location to install the program"},
        {L"STR_STORAGE", L"Insuficient storage. Storage required:"},
        {L"STR_PATH_INVALID", L"The installation path is invalid."},
        {L"STR_INSTALLING", L"Installing..."},
        {L"STR_HIDE", L"Hide"},
        {L"STR_MESSAGEBOX_TITLE", L"PRODUCT Setup"},
        {L"STR_NETWORK_ERROR", L"Network error. Please check your network settings."},
        {L"STR_OPERATE_TIP",
         L"Click Abort to cancel installation, Retry to try again, or Ignore to download via "
         L"browser."},
        {L"STR_SOFT_RUN",
         L"PRODUCT is running. Continuing installation will forcely quit the program. Are you "
         L"sure to install?"},
        {L"STR_CLOSE_TIP1", L"Are you sure you want to quit?"},
        {L"STR_CLOSE_TIP2", L"Installation is in progress. Are you sure you want to quit?"},
        // A no-break space keeps the button's two words on one line.
        {L"STR_START", L"Start\u00A0Now"},
        {L"STR_INSTALL_FAILED", L"PRODUCT could not be installed. Please try again."},
        {L"STR_MB", L"MB"},
    };
    return defaults;
}

void LanguageManager::Init(const std::wstring& rootFolder) {
    customValue_.clear();
    rightToLeft_ = false;
    rootFolder_ = rootFolder;
    InitCurrentLanguage();
    LoadProductInfo();
    LoadUrlInfo();
    LoadText();
}

void LanguageManager::InitCurrentLanguage() {
    languageName_ = kDefaultLanguage;
    const std::wstring code = GetUiLanguageCode();
    TLOGW("LanguageManager::InitCurrentLanguage", L"Language Code:%s", code.c_str());
    // Only the name is taken over: a listed language whose folder is missing still counts as
    // chosen, and its readers then fall back to the defaults.
    const std::wstring name = ReadIniValue(rootFolder_ + L"language.ini", L"Language", code);
    if (!name.empty()) {
        languageName_ = name;
    }
    rightToLeft_ = languageName_ == L"Arabic";
}

// Both tables start empty, so that a second Init never keeps values of an earlier folder.
void LanguageManager::LoadProductInfo() {
    product_.clear();
    ReadIniSection(rootFolder_ + L"productInfo.ini", L"PRODUCT", product_);
}

void LanguageManager::LoadUrlInfo() {
    urls_.clear();
    ReadIniSection(rootFolder_ + languageName_ + L"\\UrlInfo.ini", L"URL", urls_);
}

void LanguageManager::LoadText() {
    texts_ = DefaultTexts();
    ReadIniSection(rootFolder_ + languageName_ + L"\\text.ini", L"LANSTR", texts_);

    const std::wstring product = GetProductName();
    const std::wstring color = GetLicenceColor();
    const std::wstring brand = GetBrandName();
    // Fixed order: a later step also sees what an earlier one inserted, so a product name that
    // contains "BRAND" gets the brand filled in as well.
    for (auto& entry : texts_) {
        std::wstring& text = entry.second;
        ReplaceAll(text, L"PRODUCT", product);
        ReplaceAll(text, L"COLOR", color);
        ReplaceAll(text, L"BRAND", brand);
    }
}

std::wstring LanguageManager::Lookup(const IniMap& table, const std::wstring& key) {
    const auto it = table.find(key);
    return it == table.end() ? std::wstring() : it->second;
}

std::wstring LanguageManager::GetText(const std::wstring& key) const {
    return Lookup(texts_, key);
}

std::wstring LanguageManager::GetProductValue(const std::wstring& key) const {
    return Lookup(product_, key);
}

std::wstring LanguageManager::GetUrlValue(const std::wstring& key) const {
    return Lookup(urls_, key);
}

std::wstring LanguageManager::GetProductName() const {
    return GetProductValue(L"STR_PRODUCT_NAME");
}

std::wstring LanguageManager::GetBrandName() const {
    const std::wstring brand = GetProductValue(L"STR_BRAND_NAME");
    return brand.empty() ? kDefaultBrand : brand;
}

std::wstring LanguageManager::GetLicenceColor() const {
    return GetProductValue(L"STR_LISENCE_COLOR");
}

std::wstring LanguageManager::GetGaTitle() const {
    return GetProductValue(L"STR_GA_TTTLE");
}

std::wstring LanguageManager::GetExeName() const {
    return GetProductValue(L"STR_EXE_NAME");
}

std::wstring LanguageManager::GetInstallSubFolder() const {
    std::wstring folder;
    const std::wstring first = GetProductValue(L"STR_DIR1_NAME");
    if (!first.empty()) {
        folder += first + L"\\";
    }
    const std::wstring second = GetProductValue(L"STR_DIR2_NAME");
    if (!second.empty()) {
        folder += second + L"\\";
    }
    return folder;
}

std::wstring LanguageManager::GetProductExePath() const {
    return GetInstallSubFolder() + GetExeName();
}

std::wstring LanguageManager::GetDownloadUrl() const {
    return GetUrlValue(IsNative64Bit() ? L"STR_DOWN_URL_X64" : L"STR_DOWN_URL");
}

std::wstring LanguageManager::GetDownloadUrlEx() const {
    return AppendCustomParam(GetUrlValue(L"STR_DOWN_URLEX"), customValue_);
}

std::wstring LanguageManager::GetInstalledUrl() const {
    return AppendCustomParam(GetUrlValue(L"STR_INSTALL_URL"), customValue_);
}

std::wstring LanguageManager::GetLicenceUrl() const {
    return AppendCustomParam(GetUrlValue(L"STR_LICENCE_URL"), customValue_);
}

bool LanguageManager::IsRunAsAdmin() const {
    return GetProductValue(L"STR_RUN_AS_ADMIN") != L"0";
}

std::wstring LanguageManager::AppendCustomParam(const std::wstring& address,
                                                const std::wstring& customValue) {
    if (address.empty() || customValue.empty()) {
        return address;
    }
    // Only the product-information service takes the value; it is recognised by its query.
    if (address.find(L"key=") == std::wstring::npos) {
        return address;
    }
    return address + L"&custom=" + customValue;
}
