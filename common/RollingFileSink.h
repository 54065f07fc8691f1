// The log's file sink: appends records to a file opened by its wide path and, once the file
// has reached its size limit after a write, moves it to the same name with ".1" appended
// (replacing an older backup) and starts a new file. Included by the log module only.
#pragma once

#include <windows.h>

#include <spdlog/sinks/base_sink.h>

#include <mutex>
#include <string>

#include "common/WinHandle.h"

// The file is written through a Windows handle, not a C runtime stream, so that a record logged
// while the process ends (when the runtime closes its streams) still reaches the file.
//
// While the roll cannot be done (another program holds the file without allowing it to be
// renamed, or the backup cannot be replaced), the roll is tried again only after another
// |kRetryBytes| of records, and the file never grows more than |kRetryBytes| beyond its limit:
// records that do not fit are dropped until a roll succeeds.
class RollingFileSink final : public spdlog::sinks::base_sink<std::mutex> {
  public:
    static constexpr long long kRetryBytes = 1024 * 1024;

    RollingFileSink(std::wstring path, long long maxBytes)
        : path_(std::move(path)), maxBytes_(maxBytes) {
        Open();
    }

  protected:
    void sink_it_(const spdlog::details::log_msg& msg) override {
        spdlog::memory_buf_t formatted;
        formatter_->format(msg, formatted);
        const long long length = static_cast<long long>(formatted.size());
        if (stuck_) {
            offeredWhileStuck_ += length;
        }
        // A file found full when it was opened rolls before the first record.
        if (stuck_ ? offeredWhileStuck_ >= kRetryBytes : size_ >= maxBytes_) {
            Recover();
        }
        if (!file_ || size_ + length > maxBytes_ + kRetryBytes) {
            return;  // dropped: the file cannot be opened, or it is full and cannot roll
        }
        Append(formatted.data(), formatted.size());
        if (size_ >= maxBytes_ && !stuck_) {
            Roll();
        }
    }

    void flush_() override {}  // every record goes straight to the file

  private:
    void Open() {
        offeredWhileStuck_ = 0;
        file_.reset(::CreateFileW(path_.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size = {};
        if (file_ && !::GetFileSizeEx(file_.get(), &size)) {
            file_.reset();
        }
        size_ = size.QuadPart;
        stuck_ = !file_;
    }

    void Append(const char* data, size_t length) {
        while (length > 0) {
            DWORD written = 0;
            if (!::WriteFile(file_.get(), data, static_cast<DWORD>(length), &written, nullptr) ||
                written == 0) {
                return;
            }
            data += written;
            length -= written;
            size_ += written;
        }
    }

    void Recover() {
        if (!file_) {
            Open();
        } else if (size_ >= maxBytes_) {
            Roll();
        } else {
            stuck_ = false;  // someone else emptied the file: nothing to roll
        }
    }

    void Roll() {
        file_.reset();
        const std::wstring backup = path_ + L".1";
        const bool moved =
            ::MoveFileExW(path_.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        Open();  // a fresh file after the move; otherwise the full one again
        stuck_ = stuck_ || !moved;
    }

    std::wstring path_;
    long long maxBytes_;
    UniqueFileHandle file_;
    long long size_ = 0;
    bool stuck_ = false;  // the last roll or open failed
    long long offeredWhileStuck_ = 0;
};
