// mirelo-screen-poll: how long a program takes to put a picture on the
// screen, as a person would see it. Starts COMMAND, grabs the X screen every
// few milliseconds and keeps the grabs that differ, until the screen has been
// still for a while. The settled look is the last grab; a picture "shows" at
// the first grab from which every later one is within the tolerance of it
// (90 % of the sampled pixels within 10 % on each channel).
//
//     mirelo-screen-poll [--presses N] [--key KEY] -- COMMAND [ARGS...]
//
// Prints "first MS settled MS" for the launch, then, with --presses, one
// "press MS" line per key press (sent with XTest, or xdotool where XTest's
// headers were missing at build time, once a second after the
// launch settled), timed from the press to that press's settled look (its
// look when the next press comes).

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#ifdef HAVE_XTEST
#include <X11/extensions/XTest.h>
#endif
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kStep = 2;        // every other pixel across and down
constexpr int kTolerance = 26;  // 10 % of a channel
constexpr double kShare = 0.90; // of the sampled pixels
constexpr int kStillMs = 1500;  // the screen is settled once still this long
constexpr int kTimeoutMs = 15000;
constexpr size_t kKeptGrabs = 600;

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Grab {
    double ms = 0;
    std::vector<unsigned char> samples; // RGB
};

class ScreenGrabber {
public:
    bool open()
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_ || !XShmQueryExtension(display_)) return false;
        const int screen = DefaultScreen(display_);
        // The middle of the screen, half of it across and down, where every
        // viewer shows the picture: a quarter of the copying for the X server.
        width_ = DisplayWidth(display_, screen) / 2;
        height_ = DisplayHeight(display_, screen) / 2;
        left_ = width_ / 2;
        top_ = height_ / 2;
        image_ = XShmCreateImage(display_, DefaultVisual(display_, screen), unsigned(DefaultDepth(display_, screen)),
                                 ZPixmap, nullptr, &shm_, unsigned(width_), unsigned(height_));
        if (!image_) return false;
        shm_.shmid = shmget(IPC_PRIVATE, size_t(image_->bytes_per_line) * image_->height, IPC_CREAT | 0600);
        if (shm_.shmid < 0) return false;
        shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        if (!XShmAttach(display_, &shm_)) return false;
        shmctl(shm_.shmid, IPC_RMID, nullptr); // gone once both sides detach
        return true;
    }

    void press(const std::string& key)
    {
#ifdef HAVE_XTEST
        const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(key.c_str()));
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XFlush(display_);
#else
        const pid_t child = fork();
        if (child == 0) {
            execlp("xdotool", "xdotool", "key", key.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        waitpid(child, nullptr, 0);
#endif
    }

    std::vector<unsigned char> grab()
    {
        XShmGetImage(display_, DefaultRootWindow(display_), image_, left_, top_, AllPlanes);
        std::vector<unsigned char> samples;
        samples.reserve(size_t(width_ / kStep + 1) * (height_ / kStep + 1) * 3);
        for (int y = 0; y < height_; y += kStep) {
            const auto* row = reinterpret_cast<const uint32_t*>(image_->data + size_t(y) * image_->bytes_per_line);
            for (int x = 0; x < width_; x += kStep) {
                const uint32_t pixel = row[x];
                samples.push_back((pixel >> 16) & 0xff);
                samples.push_back((pixel >> 8) & 0xff);
                samples.push_back(pixel & 0xff);
            }
        }
        return samples;
    }

private:
    Display* display_ = nullptr;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
    int width_ = 0, height_ = 0, left_ = 0, top_ = 0;
};

// The share of samples whose channels are all within the tolerance.
double likeness(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
    size_t close = 0;
    for (size_t i = 0; i + 2 < a.size(); i += 3)
        if (std::abs(a[i] - b[i]) <= kTolerance && std::abs(a[i + 1] - b[i + 1]) <= kTolerance &&
            std::abs(a[i + 2] - b[i + 2]) <= kTolerance)
            ++close;
    return double(close) / double(a.size() / 3);
}

// Grabs until the screen has been still for kStillMs or `limitMs` have
// passed; returns the grabs that differ from the one before, the first being
// the screen as it was at `start`.
std::vector<Grab> watch(ScreenGrabber& screen, double start, double limitMs)
{
    std::vector<Grab> grabs;
    grabs.push_back({nowMs() - start, screen.grab()});
    double lastChange = nowMs();
    while (nowMs() - lastChange < kStillMs && nowMs() - start < limitMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        std::vector<unsigned char> samples = screen.grab();
        if (samples == grabs.back().samples) continue;
        lastChange = nowMs();
        if (grabs.size() >= kKeptGrabs) grabs.erase(grabs.begin() + 1);
        grabs.push_back({lastChange - start, std::move(samples)});
    }
    return grabs;
}

// When the screen first reached its settled look and stayed there.
double settledAt(const std::vector<Grab>& grabs)
{
    double at = grabs.back().ms;
    for (size_t i = grabs.size(); i-- > 0;) {
        if (likeness(grabs[i].samples, grabs.back().samples) < kShare) break;
        at = grabs[i].ms;
    }
    return at;
}

} // namespace

int main(int argc, char** argv)
{
    int presses = 0;
    std::string key = "Right";
    int first = 1;
    for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first) {
        if (!std::strcmp(argv[first], "--presses") && first + 1 < argc)
            presses = std::atoi(argv[++first]);
        else if (!std::strcmp(argv[first], "--key") && first + 1 < argc)
            key = argv[++first];
    }
    if (first + 1 >= argc) {
        std::fprintf(stderr, "usage: mirelo-screen-poll [--presses N] [--key KEY] -- COMMAND [ARGS...]\n");
        return 2;
    }
    ScreenGrabber screen;
    if (!screen.open()) {
        std::fprintf(stderr, "mirelo-screen-poll: no X display with shared memory\n");
        return 1;
    }
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execvp(argv[first + 1], argv + first + 1);
        _exit(127);
    }
    std::vector<Grab> grabs = watch(screen, start, kTimeoutMs);
    const double firstChange = grabs.size() > 1 ? grabs[1].ms : -1;
    std::printf("first %.0f settled %.0f\n", firstChange, grabs.size() > 1 ? settledAt(grabs) : -1.0);
    for (int i = 0; i < presses; ++i) {
        const double pressed = nowMs();
        screen.press(key);
        grabs = watch(screen, pressed, 1000); // one press a second
        std::printf("press %.0f\n", grabs.size() > 1 ? settledAt(grabs) : -1.0);
        std::fflush(stdout);
    }
    kill(-child, SIGTERM);
    waitpid(child, nullptr, 0);
    return 0;
}
