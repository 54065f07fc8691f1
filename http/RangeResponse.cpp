#include "http/RangeResponse.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// A non-negative decimal number of at most 18 digits (no overflow possible).
bool ParseNumber(const std::string& text, int64_t& value) {
    if (!IsDigits(text) || text.size() > 18) {
        return false;
    }
    value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
    }
    return true;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int MonthNumber(const std::string& name) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        if (name == kMonths[i]) {
            return i + 1;
        }
    }
    return 0;
}

bool ParseClock(const std::string& text, int& hour, int& minute, int& second) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') {
        return false;
    }
    int64_t h = 0, m = 0, s = 0;
    if (!ParseNumber(text.substr(0, 2), h) || !ParseNumber(text.substr(3, 2), m) ||
        !ParseNumber(text.substr(6, 2), s) || h > 23 || m > 59 || s > 60) {
        return false;
    }
    hour = static_cast<int>(h);
    minute = static_cast<int>(m);
    second = static_cast<int>(s);
    return true;
}

enum class Comparison { kSame, kDifferent, kUnknown };

// Whether the answer belongs to the version that the size query saw.
Comparison CompareValidators(const ResponseHead& head, const RemoteFileInfo& info) {
    const std::string etag = Trim(head.etag);
    if (!info.etag.empty() && !etag.empty()) {
        return etag == info.etag ? Comparison::kSame : Comparison::kDifferent;
    }
    const std::string modified = Trim(head.lastModified);
    if (!info.lastModified.empty() && !modified.empty()) {
        return modified == info.lastModified ? Comparison::kSame : Comparison::kDifferent;
    }
    return Comparison::kUnknown;
}

void TakeValidators(const ResponseHead& head, RemoteFileInfo& info) {
    const std::string etag = Trim(head.etag);
    info.etag = IsStrongEtag(etag) ? etag : std::string();
    info.lastModified = Trim(head.lastModified);
}

bool IsBusy(const ResponseHead& head) {
    return BusyWaitMs(head, 0) >= 0;
}

}  // namespace

bool ParseContentRange(const std::string& text, ContentRange& range) {
    const std::string value = Trim(text);
    if (value.compare(0, 6, "bytes ") != 0) {
        return false;
    }
    const std::string rest = Trim(value.substr(6));
    const size_t slash = rest.find('/');
    if (slash == std::string::npos) {
        return false;
    }
    const std::string span = rest.substr(0, slash);
    const std::string total = rest.substr(slash + 1);
    ContentRange parsed;
    if (total != "*") {
        if (!ParseNumber(total, parsed.total)) {
            return false;
        }
        parsed.hasTotal = true;
    }
    if (span == "*") {
        if (!parsed.hasTotal) {
            return false;
        }
    } else {
        const size_t dash = span.find('-');
        if (dash == std::string::npos || !ParseNumber(span.substr(0, dash), parsed.first) ||
            !ParseNumber(span.substr(dash + 1), parsed.last) || parsed.first > parsed.last ||
            (parsed.hasTotal && parsed.last >= parsed.total)) {
            return false;
        }
        parsed.hasRange = true;
    }
    range = parsed;
    return true;
}

bool IsStrongEtag(const std::string& etag) {
    return etag.size() >= 2 && etag.front() == '"' && etag.back() == '"' &&
           etag.find('"', 1) == etag.size() - 1;
}

std::string IfRangeValue(const RemoteFileInfo& info) {
    return !info.etag.empty() ? info.etag : info.lastModified;
}

bool ParseHttpDate(const std::string& text, int64_t& unixSeconds) {
    std::string spaced = text;
    std::replace(spaced.begin(), spaced.end(), ',', ' ');
    std::replace(spaced.begin(), spaced.end(), '-', ' ');
    std::vector<std::string> tokens;
    for (size_t at = 0; at < spaced.size();) {
        const size_t begin = spaced.find_first_not_of(' ', at);
        if (begin == std::string::npos) {
            break;
        }
        const size_t end = std::min(spaced.find(' ', begin), spaced.size());
        tokens.push_back(spaced.substr(begin, end - begin));
        at = end;
    }
    // Weekday, then day, month, year and clock in the order of the form; "GMT" last if any.
    if (tokens.size() < 5 || tokens.size() > 6 || IsDigits(tokens[0])) {
        return false;
    }
    int month = 0, hour = -1, minute = 0, second = 0;
    std::vector<int64_t> numbers;
    for (size_t i = 1; i < tokens.size(); ++i) {
        int64_t number = 0;
        if (MonthNumber(tokens[i]) != 0 && month == 0) {
            month = MonthNumber(tokens[i]);
        } else if (tokens[i].find(':') != std::string::npos && hour < 0) {
            if (!ParseClock(tokens[i], hour, minute, second)) {
                return false;
            }
        } else if (ParseNumber(tokens[i], number) && tokens[i].size() <= 4) {
            numbers.push_back(number);
        } else if (!(tokens[i] == "GMT" && i == tokens.size() - 1)) {
            return false;
        }
    }
    if (month == 0 || hour < 0 || numbers.size() != 2) {
        return false;
    }
    const int64_t day = numbers[0];
    int64_t year = numbers[1];
    if (year < 100) {
        year += year < 70 ? 2000 : 1900;  // two-digit years of the RFC 850 form
    }
    if (day < 1 || day > 31 || year < 1970) {
        return false;
    }
    unixSeconds = DaysFromCivil(year, month, static_cast<int>(day)) * 86400 + hour * 3600 +
                  minute * 60 + second;
    return true;
}

int64_t BusyWaitMs(const ResponseHead& head, int64_t nowUnixSeconds) {
    if (head.status != 503 && head.status != 429) {
        return -1;
    }
    const std::string value = Trim(head.retryAfter);
    int64_t seconds = 0;
    if (IsDigits(value)) {
        // Anything too long for a number is far beyond the cap anyway.
        return ParseNumber(value, seconds) ? std::min(seconds * 1000, kMaxBusyWaitMs)
                                           : kMaxBusyWaitMs;
    }
    int64_t when = 0;
    if (!ParseHttpDate(value, when)) {
        return -1;
    }
    return std::clamp<int64_t>((when - nowUnixSeconds) * 1000, 0, kMaxBusyWaitMs);
}

bool FileInfoFromWholeAnswer(const ResponseHead& head, RemoteFileInfo& info) {
    if (head.status < 200 || head.status > 299 || !head.hasContentLength) {
        return false;
    }
    info.size = head.contentLength;
    TakeValidators(head, info);
    info.acceptRanges = Trim(head.acceptRanges) == "bytes";
    return true;
}

bool FileInfoFromProbe(const ResponseHead& head, RemoteFileInfo& info) {
    ContentRange range;
    if (head.status == 206) {
        if (!ParseContentRange(head.contentRange, range) || !range.hasRange || range.first != 0 ||
            !range.hasTotal) {
            return false;
        }
        info.size = range.total;
        info.acceptRanges = true;
    } else if (head.status == 416) {
        // Not even byte 0 exists: an empty file.
        if (!ParseContentRange(head.contentRange, range) || range.hasRange || range.total != 0) {
            return false;
        }
        info.size = 0;
        info.acceptRanges = true;
    } else if (head.status == 200 && head.hasContentLength) {
        info.size = head.contentLength;
        info.acceptRanges = false;
    } else {
        return false;
    }
    TakeValidators(head, info);
    return true;
}

RangeVerdict CheckRangeResponse(const ResponseHead& head, int64_t first, int64_t last,
                                const RemoteFileInfo& info) {
    ContentRange range;
    switch (head.status) {
        case 206:
            if (!ParseContentRange(head.contentRange, range) || !range.hasRange) {
                return RangeVerdict::kRetry;
            }
            if ((range.hasTotal && range.total != info.size) ||
                CompareValidators(head, info) == Comparison::kDifferent) {
                return RangeVerdict::kFileChanged;
            }
            if (range.first != first || range.last != last || !range.hasTotal ||
                (head.hasContentLength && head.contentLength != last - first + 1)) {
                return RangeVerdict::kRetry;
            }
            return RangeVerdict::kAccept;
        case 200:
            if (first == 0 && last == info.size - 1) {
                return CheckWholeResponse(head, info);  // the whole file was asked for
            }
            // If-Range went with the request: a whole file means another version, unless the
            // validators show the same one (the server then ignores ranges).
            if (head.hasContentLength && head.contentLength != info.size) {
                return RangeVerdict::kFileChanged;
            }
            switch (CompareValidators(head, info)) {
                case Comparison::kSame:
                    return RangeVerdict::kRangeIgnored;
                case Comparison::kDifferent:
                    return RangeVerdict::kFileChanged;
                case Comparison::kUnknown:
                    return info.acceptRanges ? RangeVerdict::kFileChanged
                                             : RangeVerdict::kRangeIgnored;
            }
            return RangeVerdict::kRetry;
        case 416:
            if (ParseContentRange(head.contentRange, range) && range.total != info.size) {
                return RangeVerdict::kFileChanged;
            }
            return RangeVerdict::kRetry;
        default:
            return IsBusy(head) ? RangeVerdict::kBusy : RangeVerdict::kRetry;
    }
}

RangeVerdict CheckWholeResponse(const ResponseHead& head, const RemoteFileInfo& info) {
    if (head.status != 200) {
        return IsBusy(head) ? RangeVerdict::kBusy : RangeVerdict::kRetry;
    }
    if ((head.hasContentLength && head.contentLength != info.size) ||
        CompareValidators(head, info) == Comparison::kDifferent) {
        return RangeVerdict::kFileChanged;
    }
    return RangeVerdict::kAccept;
}
