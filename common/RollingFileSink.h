// The log's file sink: appends records to a file opened by its wide path and, once the file
// has reached its size limit after a write, moves it to the same name with ".1" appended
// (replacing an older backup) and starts a new file. Included by the log module only.
#pragma once

#include <windows.h>

#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/base_sink.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "common/WinHandle.h"

class RollingFileSink final : public spdlog::sinks::base_sink<std::mutex> {
  public:
    RollingFileSink(std::wstring path, long long maxBytes)
        : path_(std::move(path)), maxBytes_(maxBytes) {
        Open();
    }

  protected:
    void sink_it_(const spdlog::details::log_msg& msg) override {
        if (!file_) {
            return;  // a file that cannot be opened is simply not written
        }
        spdlog::memory_buf_t formatted;
        formatter_->format(msg, formatted);
        std::fwrite(formatted.data(), 1, formatted.size(), file_.get());
        std::fflush(file_.get());
        if (_ftelli64(file_.get()) >= maxBytes_) {
            RollOver();
        }
    }

    void flush_() override {
        if (file_) {
            std::fflush(file_.get());
        }
    }

  private:
    void Open() { file_.reset(_wfopen(path_.c_str(), L"ab")); }

    void RollOver() {
        file_.reset();
        const std::wstring backup = path_ + L".1";
        ::MoveFileExW(path_.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING);
        Open();
    }

    std::wstring path_;
    long long maxBytes_;
    UniqueFile file_;
};
