#include "common/GAJson.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

bool IJSONStruct::IsKeySkipped(const char* key) const {
    const bool listed = keys_.count(key) > 0;
    return (mode_ == 0 && listed) || (mode_ == 1 && !listed);
}

void IJSONStruct::AddMember(rapidjson::Value& object, const char* key, rapidjson::Value& value) {
    if (!IsKeySkipped(key)) {
        object.AddMember(rapidjson::StringRef(key), value, pool_);
    }
}

void IJSONStruct::AddString(rapidjson::Value& object, const char* key, const std::string& text) {
    rapidjson::Value value(text.data(), static_cast<rapidjson::SizeType>(text.size()), pool_);
    AddMember(object, key, value);
}

rapidjson::Value CDownloaderGAJSONStruct::ToJsonValue() {
    rapidjson::Value root(rapidjson::kObjectType);
    AddString(root, "client_id", payload_->clientId);

    rapidjson::Value uid(rapidjson::kObjectType);
    AddString(uid, "value", payload_->userId);
    rapidjson::Value properties(rapidjson::kObjectType);
    AddMember(properties, "uid", uid);
    AddMember(root, "user_properties", properties);

    rapidjson::Value events(rapidjson::kArrayType);
    for (const GAEvent& event : payload_->events) {
        rapidjson::Value params(rapidjson::kObjectType);
        AddString(params, "event_category", event.category);
        AddString(params, "event_label", event.label);
        rapidjson::Value item(rapidjson::kObjectType);
        AddString(item, "name", event.name);
        AddMember(item, "params", params);
        events.PushBack(item, pool_);
    }
    AddMember(root, "events", events);
    return root;
}

std::string JsonStructToString(IJSONStruct& record, rapidjson::Document& document) {
    rapidjson::Value value = record.ToJsonValue();
    document.CopyFrom(value, document.GetAllocator());
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    document.Accept(writer);
    return std::string(buffer.GetString());  // up to the first NUL
}
