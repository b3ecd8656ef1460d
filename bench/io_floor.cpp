// io-floor: the least any build could cost, to hold skyplate-cli's time
// against. It keeps the build's own discipline and nothing more: the mask
// file streamed in, a new temporary file of the picture's size written beside
// the output, and that file renamed over the older output, so that an output
// replaced costs the floor what it costs the build.
//   io-floor MASK OUTPUT BYTES

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& what) {
  std::perror(("io-floor: " + what).c_str());
  return 1;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: io-floor MASK OUTPUT BYTES\n");
    return 2;
  }
  const std::string output = argv[2];
  const int in = ::open(argv[1], O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(argv[1]);
  // A name of its own beside the output, created exclusively, as the build's.
  const std::string temporary = output + "." + std::to_string(::getpid()) + ".tmp";
  const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out < 0) return Fail(temporary);
  unsigned long long left = std::strtoull(argv[3], nullptr, 10);
  // The build's band: 65,536 pixels of 3 bytes read and written at a time.
  std::vector<char> buffer(std::size_t{3} << 16);
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail(argv[1]);
    if (got == 0) break;
    const auto have = static_cast<unsigned long long>(got);
    const auto put = static_cast<std::size_t>(have < left ? have : left);
    if (put > 0 && !WriteAll(out, buffer.data(), put)) return Fail(temporary);
    left -= put;
  }
  // A mask shorter than the picture still leaves a file of the picture's size.
  buffer.assign(buffer.size(), 0);
  while (left > 0) {
    const auto put = static_cast<std::size_t>(left < buffer.size() ? left : buffer.size());
    if (!WriteAll(out, buffer.data(), put)) return Fail(temporary);
    left -= put;
  }
  ::close(in);
  if (::close(out) != 0) return Fail(temporary);
  if (::rename(temporary.c_str(), output.c_str()) != 0) return Fail(output);
  return 0;
}
