#pragma once

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace klavoset::test {

// Runs the built command-line tool in a shell and collects what it prints.
struct CliRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readText(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline CliRun runCli(const std::string& args, const std::filesystem::path& dir)
{
    const auto outFile = dir / "stdout.txt";
    const auto errFile = dir / "stderr.txt";
    const std::string command = std::string("'") + KLAVOSET_CLI + "' " + args + " >'" + outFile.string() +
                                "' 2>'" + errFile.string() + "'";
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(outFile);
    run.err = readText(errFile);
    return run;
}

inline void writeBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh, empty folder for one test.
struct TempDir
{
    std::filesystem::path path;
    TempDir()
    {
        path = std::filesystem::temp_directory_path() /
               ("klavoset-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    static int& counter()
    {
        static int n = 0;
        return n;
    }
};

} // namespace klavoset::test
