// The application's alerts: long names wrap inside the card, the card is as
// tall as its text, and the cancel button is the default.

#include "common/AlertDialog.h"
#include "common/DesktopLook.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include "Eventually.h"

namespace mirelo::test {
namespace {

TEST(AlertDialog, LongNamesWrapAndTheCardHoldsAllItsText)
{
    DesktopLook::shared().apply(QStringLiteral("light"));
    QWidget window;
    window.resize(900, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString name = QString(250, u'x') + QStringLiteral(".jpg");
    auto* alert = new AlertDialog(
        &window, QStringLiteral("Mirelo couldn’t open that"),
        name + QStringLiteral(": The Trash can’t take it (File name too long), so it was left in place."));
    alert->addButton(QStringLiteral("Cancel"), AlertDialog::Role::Cancel);
    alert->addButton(QStringLiteral("Move to Trash"), AlertDialog::Role::Destructive);
    alert->open();
    ASSERT_EVENTUALLY(alert->isVisible());
    QWidget* card = alert->findChild<QWidget*>(QStringLiteral("alertCard"));
    ASSERT_TRUE(card);
    EXPECT_LE(card->width(), 480) << "a long name does not widen the card";
    for (QLabel* label : card->findChildren<QLabel*>()) {
        EXPECT_LE(label->geometry().right(), card->width());
        EXPECT_LE(label->geometry().bottom(), card->height()) << label->text().left(20).toStdString();
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "nothing of the text is cut";
    }
    EXPECT_TRUE(alert->buttons().at(0)->isDefault());
    EXPECT_FALSE(alert->buttons().at(1)->isDefault());
    if (qEnvironmentVariableIsSet("MIRELO_ALERT_PNG")) alert->grab().save(qEnvironmentVariable("MIRELO_ALERT_PNG"));
    alert->reject();
}

} // namespace
} // namespace mirelo::test
