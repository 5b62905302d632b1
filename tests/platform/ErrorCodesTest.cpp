#include "platform/posix/ws2/ErrorCodes.h"

#include <gtest/gtest.h>
#include <netdb.h>

#include <cerrno>
#include <utility>

namespace orvo::ws2posix {
namespace {

// Every native error the adapter knows has the WinSock code of the same meaning; any other is
// WSASYSCALLFAILURE.
TEST(ErrorCodesTest, NativeErrorsAndResolverResultsHaveTheirWinSockCodes) {
  const std::pair<int, std::int32_t> errors[] = {
      {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},
      {EPERM, 10013},        {EFAULT, 10014},          {EINVAL, 10022},
      {EMFILE, 10024},       {ENFILE, 10024},          {EAGAIN, 10035},
      {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},
      {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
      {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
      {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
      {ENETUNREACH, 10051},  {ENETRESET, 10052},       {ECONNABORTED, 10053},
      {ECONNRESET, 10054},   {ENOBUFS, 10055},         {ENOMEM, 10055},
      {EISCONN, 10056},      {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
      {EPIPE, 10058},        {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},
      {ECONNREFUSED, 10061}, {ELOOP, 10062},           {ENAMETOOLONG, 10063},
      {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
      {EIO, 10107}};
  for (const auto& [error, code] : errors)
    EXPECT_EQ(WinSockCodeOf(error), code) << error;

  const std::pair<int, std::int32_t> results[] = {
      {EAI_NONAME, 11001},     {EAI_AGAIN, 11002},  {EAI_FAIL, 11003},   {EAI_NODATA, 11004},
      {EAI_ADDRFAMILY, 11004}, {EAI_MEMORY, 10055}, {EAI_SERVICE, 11003}};
  for (const auto& [result, code] : results)
    EXPECT_EQ(ResolverCodeOf(result), code) << result;
  errno = EMFILE;
  EXPECT_EQ(ResolverCodeOf(EAI_SYSTEM), 10024);
}

}  // namespace
}  // namespace orvo::ws2posix
