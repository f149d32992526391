// Arbitrary bytes through the RTF reader: no input may crash it or read outside it, and the
// text it shows must survive the writer and a second reading unchanged.
#include "platform/qt/RichText.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Character formats need fonts, fonts need an application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    QTextDocument first;
    RichText::ReadRtf(rtf, first);
    static const int pages[] = {1250, 1251, 1252, 1253, 1254, 1257};
    const std::string written = RichText::WriteRtf(first, pages[size % 6]);
    for (char c : written)
        if (static_cast<unsigned char>(c) >= 0x80)
            __builtin_trap();
    QTextDocument second;
    if (!RichText::ReadRtf(written, second))
        __builtin_trap();
    if (first.toRawText() != second.toRawText())
        __builtin_trap();
    return 0;
}
