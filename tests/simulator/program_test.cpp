// The program itself: one command starts it, it logs a line per request, and it stops
// cleanly on SIGTERM.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "simulator/simulator.h"

namespace {

// The program with its standard error on a pipe the test reads.
class Program {
  public:
    explicit Program(std::vector<std::string> arguments) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            throw std::runtime_error("pipe failed");
        }
        arguments.insert(arguments.begin(), MARVOLT_SIMULATOR_PROGRAM);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipeEnds[1], STDERR_FILENO);
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            std::vector<char*> argv;
            for (auto& argument : arguments) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }
    ~Program() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(output_);
    }

    // Reads output until the pattern matches or the time is up; the first group or "".
    std::string WaitFor(const std::regex& pattern,
                        std::chrono::seconds limit = std::chrono::seconds(10)) {
        const auto until = std::chrono::steady_clock::now() + limit;
        std::smatch match;
        while (!std::regex_search(text_, match, pattern)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            pollfd ready{output_, POLLIN, 0};
            if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                return "";
            }
            char buffer[4096];
            const auto n = read(output_, buffer, sizeof buffer);
            if (n <= 0) {
                return "";
            }
            text_.append(buffer, static_cast<std::size_t>(n));
        }
        return match.size() > 1 ? match[1].str() : match[0].str();
    }

    // Exit status, or -1 when it did not end in time or ended by a signal.
    int Wait(std::chrono::seconds limit = std::chrono::seconds(10)) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                Drain();
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    void Signal(int signal) { kill(pid_, signal); }

    // Reads what the ended program left in the pipe.
    void Drain() {
        char buffer[4096];
        pollfd ready{output_, POLLIN, 0};
        while (poll(&ready, 1, 1000) > 0) {
            const auto n = read(output_, buffer, sizeof buffer);
            if (n <= 0) {
                return;
            }
            text_.append(buffer, static_cast<std::size_t>(n));
        }
    }
    const std::string& Output() const { return text_; }

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    bool exited_ = false;
    std::string text_;
};

TEST(ProgramTest, ServesLogsAndStopsOnSigterm) {
    Program program({"--port", "0", "--seed", "3", "--rate", "0", "--fault", "search:503:next=1"});
    const std::string port =
        program.WaitFor(std::regex("listening on http://127\\.0\\.0\\.1:(\\d+)"));
    ASSERT_FALSE(port.empty()) << program.Output();

    httplib::Client client("127.0.0.1", std::stoi(port));
    const auto faulted = client.Get("/auto/search.html?daysAfterCreation=1");
    ASSERT_TRUE(faulted);
    EXPECT_EQ(faulted->status, 503);
    const auto page = client.Get("/auto/search.html?daysAfterCreation=1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("parkAndCompare"), std::string::npos);
    EXPECT_FALSE(
        program.WaitFor(std::regex("GET /auto/search\\.html\\?daysAfterCreation=1 200")).empty())
        << program.Output();
    EXPECT_NE(program.Output().find("fault=503"), std::string::npos) << program.Output();

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0) << program.Output();
    EXPECT_NE(program.Output().find("stopping"), std::string::npos);
}

TEST(ProgramTest, RefusesBadOptionsAndATakenPort) {
    Program badOption({"--rate", "fast"});
    EXPECT_EQ(badOption.Wait(), 2);
    EXPECT_NE(badOption.Output().find("--rate needs a number"), std::string::npos)
        << badOption.Output();

    Program badFault({"--fault", "detail:no-picture:p=1"});
    EXPECT_EQ(badFault.Wait(), 2);

    marvolt::sim::SimulatorOptions options;
    options.backlog = 0;
    marvolt::sim::Simulator taken(options);
    taken.Start();
    Program clash({"--port", std::to_string(taken.Port())});
    EXPECT_EQ(clash.Wait(), 1);
    EXPECT_NE(clash.Output().find("cannot listen"), std::string::npos) << clash.Output();
}

}  // namespace
