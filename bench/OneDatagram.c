/* The floor of a one-message run for the end-to-end benchmark (bench/run.sh): a C program that
 * opens a UDP socket, sends one datagram to 127.0.0.1:PORT and ends. orvologger's whole-process
 * time for one message is measured beside it, in the same hyperfine run.
 *
 *   one_datagram PORT TEXT
 */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 3)
    return 2;
  struct sockaddr_in to;
  memset(&to, 0, sizeof to);
  to.sin_family = AF_INET;
  to.sin_port = htons((unsigned short)atoi(argv[1]));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0)
    return 1;
  const size_t length = strlen(argv[2]);
  const ssize_t sent = sendto(fd, argv[2], length, 0, (const struct sockaddr*)&to, sizeof to);
  close(fd);
  return sent == (ssize_t)length ? 0 : 1;
}
