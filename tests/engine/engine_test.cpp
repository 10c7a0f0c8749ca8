// The hashing tool's engine driven directly under Wine: split files on several
// workers, the ordered hand-over stopped mid-file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "fciv/engine/hasher.h"
#include "fciv/engine/pipeline.h"

namespace {

using namespace fciv;
using namespace common;

// Files with sizes around the first read, the chunk and the ring's ends; hashes as Python's hashlib gives them.
const struct { size_t size; const char *md5, *sha1, *sha384start; } Known[] = {
    {0, "d41d8cd98f00b204e9800998ecf8427e", "da39a3ee5e6b4b0d3255bfef95601890afd80709", "38b060a751ac9638"},
    {1, "93b885adfe0da089cdf634904fd59f71", "5ba93c9db0cff93f52b521d7420e43f6eda2784f", "bec021b4f368e306"},
    {65536, "9cc60713923528a1dd94e1c1ab0ebc9e", "fefb71740a82b94a2da3bcd2fd72fc64a7fb8666", "d82c7f97f2256043"},
    {65537, "4c2641c7fe5c93d3aed7c406629ff0ab", "74c69f8e2c886f87f68d52d16c30e9b4790513c9", "cbaa7b728fa53f65"},
    {ChunkSize, "aad8b8e4d120d0df7a7fda991d5dab03", "077c791119e055e7a0ae5e507089a3f9114836f5", "5511f2c17b5c7562"},
    {ChunkSize + 1, "31244b258b16e75cdf5fd63f0c98f8c6", "b4af8f5269b5a9aede8417cf4f698f4d9c65b23a", "cd0e203e7575c3f0"},
    {RingSize * ChunkSize, "3fa26ae9e0a7aa835755bee5ed80ff95", "bd60405be79948989a6c1d6963ee20e6c940b936", "4bc9798cec40d12e"},
    {RingSize * ChunkSize + 1, "2839e74a4a51a4429bd170d02c778ff9", "f081d309211e294d39260aee3aec9a39dca312d1", "fcf75bc0597fe34b"},
    {(RingSize + 1) * ChunkSize + 7, "fefbb6d1dcdf41146104dfa48cdf48f2", "0367de07c5dadbd4af15e6c080f53530b426565b", "4a4f35fbc82073a0"},
};

namespace fs = std::filesystem;

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder_); }
    void TearDown() override { fs::remove_all(folder_); }
    // A file of bytes 0..250 repeated, or of zeros past its end when `sparse`.
    std::wstring Write(size_t size, bool sparse = false) {
        const fs::path path = folder_ / (std::to_string(++files_) + ".bin");
        std::string bytes(sparse ? 0 : size, '\0');
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
        std::ofstream(path, std::ios::binary) << bytes;
        fs::resize_file(path, size);
        return path.wstring();
    }
    const fs::path folder_ = fs::temp_directory_path() / ("engine test " + std::to_string(GetCurrentProcessId()));
    int files_ = 0;
};

TEST_F(EngineTest, SplitFilesOnSeveralWorkersGiveTheKnownHashes) {
    std::vector<std::wstring> paths;
    for (const auto& k : Known) paths.push_back(Write(k.size));
    Algorithms algorithms{};
    algorithms[Md5] = algorithms[Sha1] = algorithms[Sha384] = true;
    std::vector<std::thread> workers;
    for (int w = 0; w < 3; ++w) {
        workers.emplace_back([&, w] {
            Hasher hasher(0);  // every file split on w spare cores but on worker 0, the helpers kept from file to file
            std::atomic<bool> stop{false};
            std::atomic<uint64_t> progress{0};
            for (size_t i = 0; i < 3 * paths.size(); ++i) {
                const auto& k = Known[i % paths.size()];
                FileHashes out;  // the size as listed, or left for the hasher to find
                EXPECT_EQ(hasher.HashFile(paths[i % paths.size()], (i + w) % 2 ? k.size : UnknownSize, algorithms, w, out, stop, progress), 0u);
                EXPECT_EQ(out[Md5] + out[Sha1] + out[Sha384].substr(0, 16), std::string(k.md5) + k.sha1 + k.sha384start) << k.size;
            }
        });
    }
    for (auto& t : workers) t.join();
}

// A stop during a large file: the run ends at once with its workers joined, and what was finished
// is handed over (the last small file may have been), the large one not. A file that fails with the
// error a stop gives (a cancelled network read) is handed over with it while the run goes on.
TEST_F(EngineTest, AStopMidFileEndsTheRun) {
    const std::vector<std::wstring> paths{Write(10), Write(20), Write(size_t{4} << 30, true), Write(30)};
    std::atomic<bool> stop{false};
    std::vector<std::wstring> taken;
    size_t next = 0;
    const auto source = [&](Job& job) {
        job.path = next < paths.size() ? paths[next] : L"";
        job.algorithms[Md5] = job.algorithms[Sha1] = true;
        job.error = next == 0 ? ERROR_OPERATION_ABORTED : 0;
        return next++ < paths.size();
    };
    EXPECT_LT(HashInOrder(source, paths.size(), false, stop, [&](const Job& job, const Result& r) {
        EXPECT_EQ(r.error, job.error);
        taken.push_back(job.path);
        stop = job.path == paths[1];
    }), size_t{4} << 30);
    std::erase(taken, paths[3]);
    EXPECT_EQ(taken, (std::vector<std::wstring>{paths[0], paths[1]}));
}

}  // namespace
