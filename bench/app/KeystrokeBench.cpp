// The real main window on the sample dictionaries (copied into a scratch folder), one figure
// per line. Run it with one command, on its own X server:
//   bench/app/keystroke_bench.sh [build folder]
// or by hand: xvfb-run -a -s "-screen 0 1280x800x24" build/bench/app/keystroke_bench
//   [--enter-only] [program folder]
// (default program folder: the sample folder of this build; --enter-only, for a profiler,
// measures Enter alone).
//
// The window is 1000x700. Figures:
// - enter to article p50/p95 ms (X server only): the default settings (no look-up while
//   typing), English to German; 20 common words, each in another letter block than the one
//   before, typed into the search box, then Enter. Timed from the moment the Enter key is sent
//   to the X server (a second connection sends its press and release to the window as a send
//   event) to the moment the first changed pixel of the article's top 64 rows is read back
//   from the server, by a thread that reads them again and again: the key's way through the
//   server and the toolkit, the look-up, the letter block, the list, the article, the painting
//   and the flush to the server all lie inside. The first pass over the words (a program just started) and 5 passes
//   after it are given apart; then the window thread's CPU time per look-up and the slowest words (median over the 5
//   passes).
// - start to window ms, keystroke p50/p95 ms (look-up on every key), block change p95 ms (the
//   letter of the largest block typed), dictionary change ms, peak rss MB (all four
//   dictionaries). Without a display (or with QT_QPA_PLATFORM=offscreen) these alone are
//   measured, on the offscreen platform.
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "bench/app/PixelWatch.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

double Ms(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// One key into the search box, with the repaint it causes.
double TimedKey(TfLexDictionary& w, QChar c)
{
    QElapsedTimer t;
    t.start();
    QTest::keyClick(w.cbFind, c.toLatin1() != 0 ? c.toLatin1() : 'x');
    QCoreApplication::processEvents();
    return Ms(t);
}

bool PrepareFolder(const QString& sample, const QString& target)
{
    QDir().mkpath(target + "/Data");
    for (const QString& f :
         QDir(sample + "/Data").entryList({"*.TDD", "*.UDD", "*.TDE", "DICTIONARYS.DNT"}, QDir::Files))
        if (!QFile::link(sample + "/Data/" + f, target + "/Data/" + f)
            && !QFile::copy(sample + "/Data/" + f, target + "/Data/" + f))
            return false;
    if (QFile::exists(sample + "/LangItf.lng"))
        return QFile::copy(sample + "/LangItf.lng", target + "/LangItf.lng");
    // A folder built before the interface texts existed: an empty language list is enough.
    QFile lang(target + "/LangItf.lng");
    if (!lang.open(QIODevice::WriteOnly))
        return false;
    const char none[4] = {'\xff', '\xff', '\xff', '\xff'};
    return lang.write(none, 4) == 4;
}

void EnglishToGerman(TfLexDictionary& w)
{
    for (int i = 0; i < w.cbFrom->count(); ++i)
        if (w.cbFrom->itemText(i).startsWith("Eng") || w.cbFrom->itemText(i) == "ENG") {
            w.cbFrom->setCurrentIndex(i);
            w.cbFrom1Change();
        }
}

// Lets the window finish what it has to draw.
void Settle(int ms)
{
    QCoreApplication::processEvents();
    QTest::qWait(ms);
}

// CPU time of the calling thread.
double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct TEnterFigures {
    std::vector<double> First;  // the first pass
    std::vector<double> All;    // the passes after it
    std::vector<double> Cpu;    // the window's thread, passes after the first
    std::map<QString, std::vector<double>> ByWord;
    int Failures = 0;
};

TEnterFigures MeasureEnter(TfLexDictionary& w)
{
    static const QStringList words = {"house",  "water", "run",  "good", "time",  "day",   "man",
                                      "work",   "book",  "hand", "eye",  "world", "life",  "year",
                                      "school", "city",  "dog",  "tree", "money", "friend"};
    TEnterFigures f;
    QWidget* viewport = w.reDescription->viewport();
    const QPoint at = viewport->mapTo(&w, QPoint(0, 0));
    TPixelWatch watch(static_cast<xcb_window_t>(w.winId()),
                      QRect(at, QSize(viewport->width(), std::min(64, viewport->height()))));
    if (!watch.Connected())
        return f;
    constexpr std::uint32_t kReturn = 0xff0d;
    for (int round = 0; round < 6; ++round)
        for (const QString& word : words) {
            w.cbFind->setFocus();
            w.cbFind->lineEdit()->selectAll();
            QTest::keyClicks(w.cbFind->lineEdit(), word);
            Settle(15);
            const double cpu = ThreadCpuMs();
            if (!watch.Start(kReturn, 3000))
                return f;
            while (!watch.Done())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const double ms = watch.Wait();
            const double cpuMs = ThreadCpuMs() - cpu;
            Settle(15);
            const bool right = w.SelectedWord().startsWith(word, Qt::CaseInsensitive)
                && !w.reDescription->document()->isEmpty() && w.cbFind->currentText() == word;
            if (ms < 0 || !right) {
                ++f.Failures;
                continue;
            }
            if (round == 0) {
                f.First.push_back(ms);
            } else {
                f.All.push_back(ms);
                f.Cpu.push_back(cpuMs);
                f.ByWord[word].push_back(ms);
            }
        }
    return f;
}

void PrintEnter(const TEnterFigures& f)
{
    std::printf("enter to article, first pass p50 ms: %.2f\n", Percentile(f.First, 0.5));
    std::printf("enter to article, first pass p95 ms: %.2f\n", Percentile(f.First, 0.95));
    std::printf("enter to article p50 ms: %.2f\n", Percentile(f.All, 0.5));
    std::printf("enter to article p95 ms: %.2f\n", Percentile(f.All, 0.95));
    std::printf("enter window thread cpu p50 ms: %.2f\n", Percentile(f.Cpu, 0.5));
    std::vector<std::pair<double, QString>> slow;
    for (const auto& [word, times] : f.ByWord)
        slow.emplace_back(Percentile(times, 0.5), word);
    std::sort(slow.rbegin(), slow.rend());
    std::printf("enter slowest words p50 ms:");
    for (std::size_t i = 0; i < slow.size() && i < 5; ++i)
        std::printf(" %s %.1f", qPrintable(slow[i].second), slow[i].first);
    std::printf("\n");
    if (f.Failures > 0)
        std::printf("enter look-ups that showed no article or the wrong one: %d\n", f.Failures);
}

}  // namespace

int main(int argc, char** argv)
{
    QElapsedTimer start;
    start.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    const bool enterOnly = argc > 1 && std::strcmp(argv[1], "--enter-only") == 0;
    const int folderArg = enterOnly ? 2 : 1;
    const QString sample =
        argc > folderArg ? QString::fromLocal8Bit(argv[folderArg]) : QStringLiteral(LEXORA_SAMPLE_PROGRAM);
    QTemporaryDir scratch;
    if (!QFile::exists(sample + "/Data/DICTIONARYS.DNT") || !PrepareFolder(sample, scratch.path())) {
        std::fprintf(stderr, "keystroke_bench: no sample program folder at %s\n", qPrintable(sample));
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", (scratch.path() + "/config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");

    TfLexDictionary w(scratch.path());
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 3;
    QCoreApplication::processEvents();
    const double startToWindow = Ms(start);
    w.resize(1000, 700);
    w.activateWindow();
    if (x11 && !QTest::qWaitForWindowActive(&w))
        std::fprintf(stderr, "keystroke_bench: the window did not become active\n");
    Settle(100);

    EnglishToGerman(w);
    TEnterFigures enter;
    if (x11)
        enter = MeasureEnter(w);
    if (enterOnly) {
        PrintEnter(enter);
        return 0;
    }

    w.Settings.EveryKey = true;
    w.cbFind->setFocus();
    const QStringList words = {"house",      "garden",     "because",    "water",     "little",
                               "something",  "children",   "mountain",   "beautiful", "question",
                               "yesterday",  "strawberry", "knowledge",  "zebra",     "xylophone",
                               "dictionary", "wonderful",  "understand", "possible",  "quickly"};
    std::vector<double> keys;
    for (int round = 0; round < 3; ++round)
        for (const QString& word : words) {
            w.cbFind->lineEdit()->selectAll();
            for (QChar c : word)
                keys.push_back(TimedKey(w, c));
        }

    // The largest letter block, entered from another block.
    int largest = 0;
    for (int s = 1; s < 48; ++s)
        if (w.Dictionary->Sections[static_cast<std::size_t>(s)].WordCount
            > w.Dictionary->Sections[static_cast<std::size_t>(largest)].WordCount)
            largest = s;
    const QChar big = QChar(w.Dictionary->Sections[static_cast<std::size_t>(largest)].Letter).toLower();
    const QChar other = big == 'q' ? 'x' : 'q';
    std::vector<double> blocks;
    for (int i = 0; i < 15; ++i) {
        w.cbFind->lineEdit()->selectAll();
        TimedKey(w, other);
        w.cbFind->lineEdit()->selectAll();
        blocks.push_back(TimedKey(w, big));
    }
    const int blockWords = w.WordCount();

    // Dictionary changes between the first two directions, by keyboard on the chooser.
    std::vector<double> changes;
    w.cbFrom->setFocus();
    // The first round reads the files into the system's cache; the next ones are measured.
    for (int i = 0; i < 8 && w.cbFrom->count() > 1; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::keyClick(w.cbFrom, i % 2 == 0 ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents();
        if (i >= 2)
            changes.push_back(Ms(t));
    }

    // Every dictionary once, with its largest block.
    for (int f = 0; f < w.cbFrom->count(); ++f) {
        w.cbFrom->setCurrentIndex(f);
        w.cbFrom1Change();
        for (int t = 0; t < w.cbTo->count(); ++t) {
            w.cbTo->setCurrentIndex(t);
            w.cbToChange(w.cbTo);
            int l = 0;
            for (int s = 1; s < 48; ++s)
                if (w.Dictionary->Sections[static_cast<std::size_t>(s)].WordCount
                    > w.Dictionary->Sections[static_cast<std::size_t>(l)].WordCount)
                    l = s;
            w.LoadLetterBlock(w.Dictionary->Sections[static_cast<std::size_t>(l)].Letter);
            QCoreApplication::processEvents();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("platform: %s, window %dx%d\n", qPrintable(QGuiApplication::platformName()), w.width(), w.height());
    if (x11)
        PrintEnter(enter);
    std::printf("start to window ms: %.1f\n", startToWindow);
    std::printf("keystroke p50 ms: %.2f\n", Percentile(keys, 0.5));
    std::printf("keystroke p95 ms: %.2f\n", Percentile(keys, 0.95));
    std::printf("block change p95 ms: %.2f\n", Percentile(blocks, 0.95));
    std::printf("dictionary change ms: %.1f\n",
                changes.empty() ? 0.0 : *std::max_element(changes.begin(), changes.end()));
    std::printf("peak rss MB: %.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::fprintf(stderr, "(largest block %c: %d words; %zu keystrokes)\n", big.toLatin1(), blockWords, keys.size());
    return 0;
}
