#pragma once
// Mirelo as the desktop's default viewer for image formats, through GIO on
// our desktop entry (what `xdg-mime default` writes into mimeapps.list).
// When no entry of ours is installed, one for the running program is
// written to the user's applications folder first.

#include <QString>
#include <QStringList>

#include <optional>

namespace mirelo {

class DefaultViewer {
public:
    static constexpr const char* kDesktopId = "com.tessel.local.viewer.desktop";

    // The 16 formats offered, in their order, and the 10 ticked at first.
    static const QStringList& offered();
    static QStringList initialSelection();

    // Our desktop entry is known to the desktop (written now if need be);
    // otherwise why not.
    static std::optional<QString> prepare();
    // Makes Mirelo the default for the extension's type; on failure the
    // result's line for it ("PSD: …").
    static std::optional<QString> assign(const QString& extension);
    // "Updated 2 formats." and what follows it.
    static QString resultMessage(int updated, const QStringList& failures);
    // The desktop entry that opens `mimeType` now (empty for none).
    static QString defaultFor(const QString& mimeType);
};

} // namespace mirelo
