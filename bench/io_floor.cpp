// io-floor: the least any build could cost, to hold skyplate-cli's time
// against: stream the mask file in and a file of the picture's size out.
//   io-floor MASK OUTPUT BYTES

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: io-floor MASK OUTPUT BYTES\n");
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  std::FILE* out = std::fopen(argv[2], "wb");
  if (in == nullptr || out == nullptr) {
    std::perror("io-floor");
    return 1;
  }
  unsigned long long left = std::strtoull(argv[3], nullptr, 10);
  // The same band size as the build reads and writes.
  std::vector<char> buffer(2 << 20);
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    const std::size_t put = got < left ? got : static_cast<std::size_t>(left);
    if (put > 0 && std::fwrite(buffer.data(), 1, put, out) != put) return 1;
    left -= put;
    if (got < buffer.size()) break;
  }
  std::fclose(in);
  return std::fclose(out) == 0 ? 0 : 1;
}
