// Decodes one MPEG audio file into a WAVE file through libSonarel.so, as the program would
// drive it: sonarel_decode <libSonarel.so> <input> <output.wav>.
#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

namespace {

template <typename F> F Bind(void* lib, const char* name)
{
    auto f = reinterpret_cast<F>(dlsym(lib, name));
    if (f == nullptr) {
        std::fprintf(stderr, "missing export %s\n", name);
        std::exit(2);
    }
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s libSonarel.so input output.wav\n", argv[0]);
        return 2;
    }
    void* lib = dlopen(argv[1], RTLD_NOW);
    if (lib == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    using OpenFn = bool (*)(const char*, int32_t, void*, void*, void*, void*, void*, void*, void*);
    auto init = Bind<bool (*)()>(lib, "init");
    auto deinit = Bind<bool (*)()>(lib, "deinit");
    auto open = Bind<OpenFn>(lib, "Open");
    auto close = Bind<bool (*)()>(lib, "Close");
    auto play = Bind<int32_t (*)(uint32_t, uint32_t, uint8_t*)>(lib, "Play");
    auto setOutput = Bind<bool (*)(int32_t, const char*)>(lib, "SetOutputDevice");
    auto lastError = Bind<int32_t (*)()>(lib, "LastError");

    uint8_t done = 0;
    int status = 0;
    if (!init() || !setOutput(2, argv[3])
        || !open(argv[2], 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) || play(0, 0, &done) != 0
        || lastError() != 0) {
        std::fprintf(stderr, "sonarel: error %d\n", lastError());
        status = 1;
    } else {
        while (__atomic_load_n(&done, __ATOMIC_ACQUIRE) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (int32_t e = lastError(); e != 0) {
            std::fprintf(stderr, "sonarel: error %d while playing\n", e);
            status = 1;
        }
    }
    close();
    deinit();
    return status;
}
