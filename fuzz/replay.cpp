// Runs a fuzz target once over each file given, or each file in each folder
// given: the seed corpus as a test, without libFuzzer.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int runFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    return 1;
}

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        struct stat attributes;
        if (::stat(argv[i], &attributes) != 0) {
            std::fprintf(stderr, "%s: not found\n", argv[i]);
            return 1;
        }
        if (!S_ISDIR(attributes.st_mode)) {
            runs += runFile(argv[i]);
            continue;
        }
        DIR* dir = ::opendir(argv[i]);
        while (dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.') runs += runFile(std::string(argv[i]) + "/" + entry->d_name);
        ::closedir(dir);
    }
    std::printf("%d inputs ran\n", runs);
    return runs > 0 ? 0 : 1;
}
