// Drives the real main window offscreen on the sample dictionaries (copied into a scratch
// folder) and prints one figure per line:
//   start to window ms, keystroke p50/p95 ms (EveryKey on), block change p95 ms (typing the
//   letter of the largest block), dictionary change ms, peak rss MB (all four dictionaries).
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv)
{
    QElapsedTimer start;
    start.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString sample = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(LEXORA_SAMPLE_PROGRAM);
    QTemporaryDir scratch;
    if (!QFile::exists(sample + "/Data/DICTIONARYS.DNT") || !PrepareFolder(sample, scratch.path())) {
        std::fprintf(stderr, "keystroke_bench: no sample program folder at %s\n", qPrintable(sample));
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", (scratch.path() + "/config").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    TfLexDictionary w(scratch.path());
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 3;
    QCoreApplication::processEvents();
    const double startToWindow = Ms(start);

    w.Settings.EveryKey = true;
    w.cbFind->setFocus();
    // English to German first.
    for (int i = 0; i < w.cbFrom->count(); ++i)
        if (w.cbFrom->itemText(i).startsWith("Eng") || w.cbFrom->itemText(i) == "ENG") {
            w.cbFrom->setCurrentIndex(i);
            w.cbFrom1Change();
        }

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
