// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/MappedFiles.h"
#include "cli/CliSession.h"
#include "cli/Command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// A stream buffer that hands every character straight to a C stream. The tool starts once per command:
// std::cout and its siblings would cost every run the set-up of eight standard streams.
class CStreamBuf : public std::streambuf
{
  public:
    explicit CStreamBuf(std::FILE* file) : m_file(file) {}

  protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        return std::fputc(c, m_file) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        return static_cast<std::streamsize>(std::fwrite(s, 1, static_cast<std::size_t>(n), m_file));
    }

  private:
    std::FILE* m_file;
};

} // namespace

int main(int argc, char** argv)
{
    // The images are read by mapping them (CliSession): one shortened by another program meanwhile, or a
    // page of it the system cannot read, ends the command with this message rather than a crash, and
    // leaves no temporary file behind.
    klavoset::guardMappedFiles(
        "klavoset-cli: a file being read was shortened by another program or could not be read any more; "
        "nothing was written\n",
        klavoset::cli::ExitFile);
    CStreamBuf outBuf(stdout), errBuf(stderr);
    std::ostream out(&outBuf), err(&errBuf);
    int code = klavoset::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), out, err);
    // Output that never arrived (a full disk, a closed pipe) is a failure, not a success.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        const int why = errno;
        std::fprintf(stderr, "klavoset-cli: cannot write the output%s%s\n", why != 0 ? ": " : "",
                     why != 0 ? std::strerror(why) : "");
        if (code == klavoset::cli::ExitDone)
            code = klavoset::cli::ExitFile;
    }
    return code;
}
