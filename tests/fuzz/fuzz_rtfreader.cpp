// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdlib>

// Fonts and layout need an application object; the offscreen platform needs no display.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    const bool accepted = RtfReader::read(input, document);
    // Only RTF is accepted, and no input yields more text than it has bytes.
    if (accepted && !input.startsWith("{\\rtf"))
        std::abort();
    if (document.characterCount() > qsizetype(size) + 1)
        std::abort();
    // Laying the text out is where odd sizes and margins would bite.
    document.setTextWidth(400);
    (void)document.size();
    return 0;
}
