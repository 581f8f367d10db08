// ClipboardBridge: the system clipboard's plain text, converted between CP932 and Unicode.
#include "grid/ClipboardBridge.h"

#include "platform/core/CodePage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

void ClipboardBridge::put(const std::string& cp932) {
    std::u16string wide;
    CodePage::cp932ToUtf16(cp932, wide);
    QGuiApplication::clipboard()->setText(
        QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size())));
}

std::string ClipboardBridge::take(int& unrepresentable) {
    const QString text = QGuiApplication::clipboard()->text();
    std::string bytes;
    unrepresentable = CodePage::utf16ToCp932(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                            static_cast<std::size_t>(text.size())),
        bytes);
    return bytes;
}
