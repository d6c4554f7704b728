// quorvane-cli.exe under Wine as a script runs it: exit statuses 0, 1 and 2, messages on standard error, each
// file type into wintestwindow with the simulated board behind it, and a terminal that is not running.
// Ctrl+C is tested by cli-interrupt-test.sh: under Wine only a Unix SIGINT raises the console event.
#include "ProgramWindow.h"
#include "TestWindowProcess.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quorvane::ui::win32::test {
namespace {

namespace fs = std::filesystem;
using platform::win32::test::TestWindowProcess;

struct Outcome {
    int status = -1;
    std::string errors;
};

class CliProcess {
public:
    CliProcess(const std::wstring &arguments, const fs::path &errors) : m_errors(errors) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        m_errorFile = CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = m_errorFile;
        startup.hStdError = m_errorFile;
        std::wstring commandLine = L"\"" + fs::path(QUORVANE_CLI).wstring() + L"\" " + arguments;
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &m_process);
    }
    ~CliProcess() {
        if (m_process.hProcess != nullptr) {
            TerminateProcess(m_process.hProcess, 1);
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
        CloseHandle(m_errorFile);
    }
    Outcome finish(DWORD ms = 60000) {
        Outcome run;
        if (m_process.hProcess == nullptr || WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0) {
            return run;
        }
        DWORD code = 0;
        GetExitCodeProcess(m_process.hProcess, &code);
        run.status = static_cast<int>(code);
        CloseHandle(m_errorFile);
        m_errorFile = INVALID_HANDLE_VALUE;
        std::ifstream in(m_errors, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        run.errors = text.str();
        return run;
    }

private:
    fs::path m_errors;
    HANDLE m_errorFile = INVALID_HANDLE_VALUE;
    PROCESS_INFORMATION m_process{};
};

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Win32Cli : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_dir = fs::path(temp) / ("quorvane-cli-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(m_dir);
        for (const char *name : {"demo.obj", "even.bin", "ascii.txt"}) {
            fs::copy_file(fs::path(QUORVANE_SAMPLES) / name, m_dir / name);
        }
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    std::wstring file(const char *name) const { return L"\"" + (m_dir / name).wstring() + L"\""; }
    Outcome run(const std::wstring &arguments) { return CliProcess(arguments, m_dir / "errors.txt").finish(); }

    fs::path m_dir;
};

TEST_F(Win32Cli, ArgumentsAndMissingThingsGiveTheirStatusAndMessage) {
    const struct {
        std::wstring arguments;
        int status;
        const char *message; // a part of what standard error says
    } cases[] = {
        {L"--help", 0, "quorvane send FILE"},
        {L"send", 2, "quorvane: "},
        {L"send " + file("ascii.txt") + L" --monitor m68k", 2, "Try \"quorvane --help\"."},
        {L"send " + file("nosuch.txt"), 2, "no such file"},
        {L"send " + file("ascii.txt") + L" --terminal \"No Such Terminal\"", 1, "not running"},
    };
    for (const auto &c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << platform::win32::toUtf8(c.arguments);
        EXPECT_NE(result.errors.find(c.message), std::string::npos)
            << platform::win32::toUtf8(c.arguments) << ": " << result.errors;
    }
}

TEST_F(Win32Cli, EachFileTypeLoadsTheBoard) {
    const struct {
        const char *name;
        const char *file;
        std::wstring options;
        std::wstring board;
        const char *image;
    } cases[] = {
        {"loader", "demo.obj", L"", L"--start loader", "demo.image"},
        {"evmbug", "demo.obj", L"--type object", L"--monitor evmbug", "demo.image"},
        {"tibug", "demo.obj", L"--type object --monitor tibug", L"--monitor tibug", "demo.image"},
        {"hexdump", "even.bin", L"", L"--start memory:FE00", "even.image"},
    };
    for (const auto &c : cases) {
        const fs::path image = m_dir / (std::string(c.name) + ".image");
        TestWindowProcess window(QUORVANE_TEST_WINDOW, L"COM1 - Tera Term VT", m_dir / c.name,
                                 L"--board " + c.board + L" --image \"" + image.wstring() + L"\"");
        ASSERT_NE(window.window(), nullptr);
        const Outcome result = run(L"send " + file(c.file) + L" " + c.options + L" --char-factor 0 --line-factor 0");
        EXPECT_EQ(result.status, 0) << c.name << ": " << result.errors;
        ASSERT_TRUE(window.end()) << c.name;
        EXPECT_EQ(readFile(image), readFile(fs::path(QUORVANE_SAMPLES) / c.image)) << c.name;
    }
}

} // namespace
} // namespace quorvane::ui::win32::test
