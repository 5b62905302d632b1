#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/Launcher.h"
#include "tests/support/LoopbackReceiver.h"
#include "tests/support/TempDir.h"

// The built program run as a process, on either platform, against a loopback receiver.
namespace orvo::test {

inline const std::string Banner =
    "\r\norvologger ver." ORVO_PRODUCT_VERSION "\r\n orvologger project orvologger.git\r\n\r\n";
inline const std::string Synopsis =
    "SYNOPSIS\r\n orvologger [-is] [-h host:port] [-f file] [-l file] [-p pri] [-t tag] [--] "
    "[message ...]\r\n\r\n";
inline const std::string Footer =
    "For more information, see readme.txt or readme_jp.txt(JAPANESE).\r\n";
inline const std::string Prompt = "\r\nto exit, hit return or Ctrl+c\r\n\r\n";
inline const std::string Ack = "\r\nOK. message sent.\r\nto exit, hit return or Ctrl+c\r\n\r\n";

// The program file, beside the running test program.
std::string ProgramPath();

// What starts the program: its file, after the emulator and the emulator's options in a build
// for another processor.
std::vector<std::string> ProgramCommand();

// Runs the program with the parameters and standard input fed from input.
TRunResult RunOrvologger(const std::vector<std::string>& parameters, const std::string& input = {});

#ifndef _WIN32
// As RunOrvologger, with the "NAME=value" settings added to the program's environment.
TRunResult RunOrvologgerWithEnvironment(const std::vector<std::string>& parameters,
                                        const std::vector<std::string>& environment);

// Runs the program under a pseudo-terminal, as RunOnTerminal does.
TRunResult RunOrvologgerOnTerminal(const std::vector<std::string>& parameters,
                                   const std::vector<TKeystrokes>& typing);
#endif

// The datagram text with its time of day replaced by "hh:mm:ss", so texts compare exactly.
std::string WithoutTimeOfDay(const std::string& text);

// The host name the program puts into its datagrams: the local host's first IPv4 address.
std::string LocalAddress();

// The exact datagram text the program sends today, apart from the time of day: its host is the
// local host's first IPv4 address.
std::string Expected(int pri, const std::string& msg);

// Each datagram text without its time of day.
std::vector<std::string> Plain(const std::vector<std::string>& datagrams);

class ProgramTest : public ::testing::Test {
 protected:
  // The parameters that send to this test's receiver, then the given ones.
  std::vector<std::string> With(std::initializer_list<std::string> parameters) const {
    std::vector<std::string> all{"-h", FReceiver.Address()};
    all.insert(all.end(), parameters);
    return all;
  }

  TLoopbackReceiver FReceiver;
  TTempDir FDir;
};

}  // namespace orvo::test
