// The language- and product-specific side of the setup program: picks the UI language from
// language.ini, loads the texts (English defaults overlaid by the language's text.ini, with the
// PRODUCT, COLOR and BRAND placeholders filled), the product settings and the web addresses.
#pragma once

#include <string>

#include "common/IniFile.h"

class LanguageManager {
  public:
    // |rootFolder| is the unpacked language folder, a full path ending with a backslash.
    void Init(const std::wstring& rootFolder);

    // The steps of Init, in the order Init runs them.
    void InitCurrentLanguage();
    void LoadProductInfo();
    void LoadUrlInfo();
    void LoadText();

    std::wstring GetText(const std::wstring& key) const;
    std::wstring GetProductValue(const std::wstring& key) const;
    std::wstring GetUrlValue(const std::wstring& key) const;

    std::wstring GetProductName() const;
    std::wstring GetBrandName() const;
    std::wstring GetLicenceColor() const;
    std::wstring GetGaTitle() const;
    std::wstring GetExeName() const;
    // "Dir1\Dir2\" relative to the install folder; empty levels are left out.
    std::wstring GetInstallSubFolder() const;
    std::wstring GetProductExePath() const;

    // The full installer for this machine's bitness; never carries the custom value.
    std::wstring GetDownloadUrl() const;
    // The product-information addresses, with "&custom=<custom value>" when they carry a query.
    std::wstring GetDownloadUrlEx() const;
    std::wstring GetInstalledUrl() const;
    std::wstring GetLicenceUrl() const;

    bool IsRunAsAdmin() const;
    bool IsRightToLeft() const { return rightToLeft_; }
    const std::wstring& GetLanguageName() const { return languageName_; }

    void SetCustomValue(const std::wstring& value) { customValue_ = value; }
    const std::wstring& GetCustomValue() const { return customValue_; }

    // Share of the progress bar, in percent, that the download fills.
    int GetDownloadRatio() const { return 90; }
    // Milliseconds between two reads of the installer's progress file.
    int GetProgressPollInterval() const { return 1500; }

    // Appends "&custom=" and |customValue| (unescaped) to an address whose query has "key=";
    // any other address comes back unchanged, an empty one stays empty.
    static std::wstring AppendCustomParam(const std::wstring& address,
                                          const std::wstring& customValue);

    // The built-in English texts that every language starts from.
    static const IniMap& DefaultTexts();

  private:
    static std::wstring Lookup(const IniMap& table, const std::wstring& key);

    IniMap texts_;
    IniMap urls_;
    IniMap product_;
    std::wstring rootFolder_;
    std::wstring languageName_ = L"English";
    std::wstring customValue_;
    bool rightToLeft_ = false;
};
