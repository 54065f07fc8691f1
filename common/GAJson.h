// JSON records of the analytics reports: a base that filters keys and builds values in a
// document's pool, the report record, and the pretty text of a record. No network here.
#pragma once

#include <rapidjson/document.h>

#include <string>
#include <unordered_set>
#include <vector>

struct GAEvent {
    std::string name;
    std::string category;
    std::string label;
};

// One report: the client identity, the "uid" user property and its events (all UTF-8).
struct GAPayload {
    std::string clientId;
    std::string userId;
    std::vector<GAEvent> events;
};

// A record that can be written as JSON. Key filter: mode 0 skips the listed keys, mode 1 keeps
// only them, any other mode keeps every key; a skipped key goes with its value.
class IJSONStruct {
  public:
    using Allocator = rapidjson::Document::AllocatorType;

    IJSONStruct(Allocator& pool, int mode, std::unordered_set<std::string> keys)
        : mode_(mode), keys_(std::move(keys)), pool_(pool) {}
    IJSONStruct(const IJSONStruct&) = delete;
    IJSONStruct& operator=(const IJSONStruct&) = delete;

    // Fills the record from a value; no report is ever read back.
    virtual void FromJsonValue(const rapidjson::Value& value) = 0;
    // The record as a JSON value built in the document's pool.
    virtual rapidjson::Value ToJsonValue() = 0;
    virtual ~IJSONStruct() = default;

  protected:
    bool IsKeySkipped(const char* key) const;
    // Adds |key| (a literal) to |object| unless the filter skips it.
    void AddMember(rapidjson::Value& object, const char* key, rapidjson::Value& value);
    void AddString(rapidjson::Value& object, const char* key, const std::string& text);

    int mode_;
    std::unordered_set<std::string> keys_;
    Allocator& pool_;
};

// The GA4 Measurement Protocol body of one report.
class CDownloaderGAJSONStruct : public IJSONStruct {
  public:
    CDownloaderGAJSONStruct(Allocator& pool, const GAPayload* payload, int mode = 0,
                            std::unordered_set<std::string> keys = {})
        : IJSONStruct(pool, mode, std::move(keys)), payload_(payload) {}

    void FromJsonValue(const rapidjson::Value&) override {}
    rapidjson::Value ToJsonValue() override;

  private:
    const GAPayload* payload_;  // not owned
};

// The record's value copied into |document| and written with the pretty writer's defaults.
std::string JsonStructToString(IJSONStruct& record, rapidjson::Document& document);
