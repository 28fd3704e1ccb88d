// iconv half of the code page 932 conversion (the native test build).
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "common/cp932.h"

namespace tessel::cp932_platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`, appending to `out`; false if iconv refused any of it.
    bool Run(const char* in, std::size_t inBytes, std::string& out) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
        std::lock_guard lock(mutex_);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        std::size_t left = inBytes;
        char buffer[4096];
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                return false;  // EILSEQ or EINVAL: not convertible as a whole
            }
            if (r > 0) return false;  // irreversible (substituted) conversions
        }
        return true;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

Converter& Decoder() {
    static Converter c("WCHAR_T", "CP932");
    return c;
}
Converter& Encoder() {
    static Converter c("CP932", "WCHAR_T");
    return c;
}

}  // namespace

bool DecodeRun(std::string_view bytes, std::wstring& out) {
    std::string wide;
    if (!Decoder().Run(bytes.data(), bytes.size(), wide)) return false;
    const std::size_t n = wide.size() / sizeof(wchar_t);
    const std::size_t mark = out.size();
    out.resize(mark + n);
    for (std::size_t i = 0; i < n; ++i) {
        wchar_t c;
        std::memcpy(&c, wide.data() + i * sizeof(wchar_t), sizeof c);
        out[mark + i] = c;
    }
    return true;
}

bool EncodeRun(std::wstring_view text, std::string& out) {
    std::string bytes;
    if (!Encoder().Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t),
                       bytes))
        return false;
    out += bytes;
    return true;
}

}  // namespace tessel::cp932_platform
