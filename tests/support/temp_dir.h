// A fresh folder for one test, removed again with everything in it.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace tessel::test {

class TempDir {
public:
    explicit TempDir(std::string_view tag = "tessel") {
        // The clock and a random number keep apart the folders of test programs that
        // run at the same time (Wine hands out small process ids again soon).
        static std::atomic<unsigned> counter{0};
        static const unsigned salt = std::random_device{}();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                (std::string(tag) + "-" + std::to_string(salt) + "-" + std::to_string(stamp) + "-" +
                 std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        // An open dialog may have made the folder the current one, which keeps it from
        // being removed.
        const auto current = std::filesystem::current_path(ec);
        if (!ec && current.native().compare(0, path_.native().size(), path_.native()) == 0)
            std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // Writes raw bytes to a file in the folder (making the folders on the way) and
    // returns its path.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

    static std::string ReadBytes(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // How many entries the folder holds (to see that no temporary file was left).
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

}  // namespace tessel::test
