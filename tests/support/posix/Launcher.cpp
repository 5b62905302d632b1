#include "tests/support/Launcher.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace orvo::test {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> ArgumentVector(const std::vector<std::string>& parameters,
                                  std::string& program) {
  std::vector<char*> argv{program.data()};
  for (const std::string& parameter : parameters)
    argv.push_back(const_cast<char*>(parameter.c_str()));
  argv.push_back(nullptr);
  return argv;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

// Waits for the child; kills it when it outlives the deadline.
int Reap(int pid, Clock::time_point deadline) {
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    ::usleep(10000);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ReadSome(int fd, std::string& into) {
  char buffer[4096];
  const ssize_t count = ::read(fd, buffer, sizeof buffer);
  if (count > 0)
    into.append(buffer, static_cast<std::size_t>(count));
  return count > 0 || (count < 0 && errno == EINTR);
}

}  // namespace

TRunResult RunProcess(const std::string& program, const std::vector<std::string>& parameters,
                      const std::string& input, std::chrono::seconds limit) {
  return RunProcessWithEnvironment(program, parameters, {}, input, limit);
}

TRunResult RunProcessWithEnvironment(const std::string& path,
                                     const std::vector<std::string>& parameters,
                                     const std::vector<std::string>& environment,
                                     const std::string& input, std::chrono::seconds limit) {
  int in[2], out[2], err[2];
  if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0)
    throw std::runtime_error("pipe");
  std::string program = path;
  std::vector<char*> argv = ArgumentVector(parameters, program);
  // The harness itself ignores broken pipes; the program starts with the default.
  ::signal(SIGPIPE, SIG_IGN);
  const int pid = ::fork();
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
      ::close(fd);
    for (const std::string& setting : environment)
      ::putenv(const_cast<char*>(setting.c_str()));
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  ::fcntl(in[1], F_SETFL, O_NONBLOCK);

  TRunResult result;
  result.Pid = pid;
  const Clock::time_point deadline = Clock::now() + limit;
  std::size_t written = 0;
  int inFd = in[1];
  if (input.empty()) {
    ::close(inFd);
    inFd = -1;
  }
  int outFd = out[0], errFd = err[0];
  while ((outFd >= 0 || errFd >= 0) && Clock::now() < deadline) {
    pollfd fds[3] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {inFd, POLLOUT, 0}};
    if (::poll(fds, 3, std::min(MillisecondsLeft(deadline), 100)) < 0)
      continue;
    if (fds[0].revents != 0 && !ReadSome(outFd, result.Out)) {
      ::close(outFd);
      outFd = -1;
    }
    if (fds[1].revents != 0 && !ReadSome(errFd, result.Err)) {
      ::close(errFd);
      errFd = -1;
    }
    if (fds[2].revents != 0) {
      const ssize_t count = ::write(inFd, input.data() + written, input.size() - written);
      if (count > 0)
        written += static_cast<std::size_t>(count);
      if (count < 0 && errno != EAGAIN && errno != EINTR)
        written = input.size();
      if (written == input.size()) {
        ::close(inFd);
        inFd = -1;
      }
    }
  }
  for (int fd : {inFd, outFd, errFd})
    if (fd >= 0)
      ::close(fd);
  result.ExitCode = Reap(pid, deadline);
  return result;
}

TRunResult RunOnTerminal(const std::string& path, const std::vector<std::string>& parameters,
                         const std::vector<TKeystrokes>& typing, std::chrono::seconds limit) {
  std::string program = path;
  std::vector<char*> argv = ArgumentVector(parameters, program);
  int master = -1;
  const int pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0)
    throw std::runtime_error("forkpty");
  if (pid == 0) {
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  TRunResult result;
  result.Pid = pid;
  const Clock::time_point deadline = Clock::now() + limit;
  std::size_t next = 0;
  std::size_t searchFrom = 0;
  while (Clock::now() < deadline) {
    if (next < typing.size()) {
      const std::size_t found = result.Out.find(typing[next].WaitFor, searchFrom);
      if (found != std::string::npos) {
        searchFrom = found + typing[next].WaitFor.size();
        const std::string& keys = typing[next].Type;
        if (::write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
          break;
        ++next;
      }
    }
    pollfd fd{master, POLLIN, 0};
    if (::poll(&fd, 1, std::min(MillisecondsLeft(deadline), 100)) <= 0)
      continue;
    // The terminal reports EIO once the program has ended and its side is closed.
    if (!ReadSome(master, result.Out))
      break;
  }
  ::close(master);
  result.ExitCode = Reap(pid, deadline);
  return result;
}

}  // namespace orvo::test
