#include "FileClipboard.h"

#include "files/FileUrl.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

namespace mirelo {

bool FileClipboard::copy(const std::vector<std::string>& paths)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || paths.empty()) return false;
    QByteArray uriList;
    QByteArray gnome = "copy";
    QStringList text;
    for (const std::string& path : paths) {
        std::string url = fileUrlString(path);
        uriList.append(url.data(), qsizetype(url.size())).append("\r\n");
        gnome.append('\n').append(url.data(), qsizetype(url.size()));
        text << QFile::decodeName(QByteArray::fromStdString(path));
    }
    auto* data = new QMimeData;
    data->setData("text/uri-list", uriList);
    data->setData("x-special/gnome-copied-files", gnome);
    data->setText(text.join('\n'));
    clipboard->clear();
    clipboard->setMimeData(data);
    const QMimeData* held = clipboard->mimeData();
    return held && held->data("text/uri-list") == uriList;
}

} // namespace mirelo
