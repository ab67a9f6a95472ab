// A plain mutation driver for the fuzz targets where libFuzzer is not available (the GCC
// build): it runs every seed once, then mutates seeds at random for the given time. The
// mutations are blind (no coverage feedback) but reproducible: the same --seed gives the same
// inputs in the same order, and an input that kills the process is written out first.
//
//   fuzz_TARGET [--seconds N] [--seed N] [--max-size BYTES] [--crash FILE] PATH...
//
// A PATH that is a folder adds every file below it to the seeds; a file is one seed.

#include "FuzzSupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define VELMORA_HAS_SANITIZER 1
#endif

namespace {

using Bytes = std::vector<uint8_t>;

// The input being run, kept where the death handlers can write it without allocating. Never
// destroyed: a sanitizer's report at exit still calls the death handler.
std::vector<uint8_t>& g_current = *new std::vector<uint8_t>;
std::string g_crashPath = "fuzz-crash.bin";

void writeCurrentInput() {
    const int fd = ::open(g_crashPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    size_t done = 0;
    while (done < g_current.size()) {
        const ssize_t n = ::write(fd, g_current.data() + done, g_current.size() - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::close(fd);
    static const char note[] = "\nfuzz: the input that failed was written to the crash file\n";
    (void)!::write(2, note, sizeof note - 1);
}

void onFatalSignal(int signal) {
    writeCurrentInput();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void run(const Bytes& input) {
    g_current = input;
    LLVMFuzzerTestOneInput(g_current.data(), g_current.size());
}

class Mutator {
public:
    Mutator(unsigned seed, size_t maxSize) : m_random(seed), m_maxSize(maxSize) {}

    Bytes mutate(const std::vector<Bytes>& corpus) {
        Bytes out = corpus[pick(corpus.size())];
        const int steps = 1 + int(pick(6));
        for (int i = 0; i < steps; ++i)
            mutateOnce(out, corpus);
        if (out.size() > m_maxSize)
            out.resize(m_maxSize);
        return out;
    }

private:
    size_t pick(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    void mutateOnce(Bytes& b, const std::vector<Bytes>& corpus) {
        static const char* const kTokens[] = {"<",
                                              ">",
                                              "</",
                                              "/>",
                                              "=",
                                              "'",
                                              "\"",
                                              "(",
                                              ")",
                                              "\r\n",
                                              "\n",
                                              "\0",
                                              "&",
                                              "]]>",
                                              "<![CDATA[",
                                              "AND",
                                              "OR",
                                              "\xFF",
                                              "<w:tbl><w:tr><w:tc>",
                                              "<w:sdt><w:sdtContent>",
                                              "PK\x03\x04"};
        switch (pick(9)) {
        case 0: // flip a bit
            if (!b.empty())
                b[pick(b.size())] ^= uint8_t(1u << pick(8));
            break;
        case 1: // set a byte to anything
            if (!b.empty())
                b[pick(b.size())] = uint8_t(pick(256));
            break;
        case 2: { // erase a range
            if (b.empty())
                break;
            const size_t at = pick(b.size());
            b.erase(b.begin() + long(at),
                    b.begin() + long(at + 1 + pick(std::min<size_t>(b.size() - at, 64))));
            break;
        }
        case 3: { // insert a token of the formats read
            const char* token = kTokens[pick(std::size(kTokens))];
            const size_t len = std::max<size_t>(1, std::strlen(token));
            b.insert(b.begin() + long(pick(b.size() + 1)), token, token + len);
            break;
        }
        case 4: { // repeat a slice many times: deep nesting, long lines, huge counts
            if (b.empty())
                break;
            const size_t at = pick(b.size());
            const size_t len = 1 + pick(std::min<size_t>(b.size() - at, 32));
            const Bytes slice(b.begin() + long(at), b.begin() + long(at + len));
            const size_t times = size_t(1) << pick(17);
            Bytes repeated;
            repeated.reserve(std::min(m_maxSize, slice.size() * times));
            for (size_t i = 0; i < times && repeated.size() < m_maxSize; ++i)
                repeated.insert(repeated.end(), slice.begin(), slice.end());
            b.insert(b.begin() + long(at), repeated.begin(), repeated.end());
            break;
        }
        case 5: { // splice with another seed
            const Bytes& other = corpus[pick(corpus.size())];
            if (other.empty())
                break;
            const size_t from = pick(other.size());
            const size_t len = 1 + pick(other.size() - from);
            b.insert(b.begin() + long(pick(b.size() + 1)), other.begin() + long(from),
                     other.begin() + long(from + len));
            break;
        }
        case 6: // cut short
            if (!b.empty())
                b.resize(pick(b.size()));
            break;
        case 7: { // an interesting number where digits were
            static const char* const kNumbers[] = {"0", "-1", "4294967296", "99999999999999999999", "1e308"};
            const char* n = kNumbers[pick(std::size(kNumbers))];
            b.insert(b.begin() + long(pick(b.size() + 1)), n, n + std::strlen(n));
            break;
        }
        default: // swap two bytes
            if (b.size() > 1)
                std::swap(b[pick(b.size())], b[pick(b.size())]);
            break;
        }
    }

    std::mt19937 m_random;
    size_t m_maxSize;
};

Bytes readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.begin(), bytes.end());
}

int usage() {
    std::fprintf(stderr, "uso: fuzz_OBJETIVO [--seconds N] [--seed N] [--max-size BYTES] [--crash FICHERO] "
                         "RUTA...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 0;
    unsigned seed = 1;
    size_t maxSize = 1 << 20;
    std::vector<Bytes> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seconds" && hasValue)
            seconds = std::atof(argv[++i]);
        else if (arg == "--seed" && hasValue)
            seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--max-size" && hasValue)
            maxSize = size_t(std::strtoull(argv[++i], nullptr, 10));
        else if (arg == "--crash" && hasValue)
            g_crashPath = argv[++i];
        else if (arg.rfind("--", 0) == 0)
            return usage();
        else if (QFileInfo(QString::fromLocal8Bit(argv[i])).isDir()) {
            QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                corpus.push_back(readFile(it.next()));
        } else {
            corpus.push_back(readFile(QString::fromLocal8Bit(argv[i])));
        }
    }
    if (corpus.empty())
        corpus.emplace_back();

    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(s, onFatalSignal);
#ifdef VELMORA_HAS_SANITIZER
    __sanitizer_set_death_callback(writeCurrentInput);
#endif

    long runs = 0;
    for (const Bytes& input : corpus) {
        run(input);
        ++runs;
    }
    Mutator mutator(seed, maxSize);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(seconds * 1000)) {
        run(mutator.mutate(corpus));
        ++runs;
    }
    std::fprintf(stderr, "fuzz: %ld entradas (%zu semillas, semilla aleatoria %u) sin fallos\n", runs,
                 corpus.size(), seed);
    return 0;
}
