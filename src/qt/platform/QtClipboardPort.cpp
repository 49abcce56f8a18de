#include "platform/QtClipboardPort.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/CodePage.h"

namespace qb {

void QtClipboardPort::SetText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(FromCodePage(text));
}

std::optional<std::string> QtClipboardPort::GetText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return ToCodePage(data->text());
}

}  // namespace qb
