#include "AlertDialog.h"
#include "Translation.h"

#include "Palette.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace mirelo {

namespace {

constexpr int kCardWidth = 420;
constexpr int kLongestUnbrokenRun = 24;

QString buttonStyle(AlertDialog::Role role)
{
    const QColor accent = Palette::accent();
    switch (role) {
    case AlertDialog::Role::Destructive:
        return QStringLiteral("QPushButton { color: #d92d20; font-weight: 600; padding: 6px 16px; border-radius: 8px;"
                              " border: 1px solid rgba(217,45,32,0.45); background: transparent; outline: none; }"
                              "QPushButton:hover, QPushButton:focus { background: rgba(217,45,32,0.12); }");
    case AlertDialog::Role::Accept:
    case AlertDialog::Role::Cancel: break;
    }
    // The default button: filled with the accent.
    return QStringLiteral(
               "QPushButton { padding: 6px 16px; border-radius: 8px; border: 1px solid palette(mid); outline: none; }"
               "QPushButton:default { color: white; font-weight: 600; border: none; background: %1; }"
               "QPushButton:hover { border-color: %1; }")
        .arg(accent.name());
}

} // namespace

QString AlertDialog::breakable(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    int run = 0;
    for (const QChar c : text) {
        out += c;
        if (c.isSpace()) {
            run = 0;
        } else if (c == u'/' || c == u'.' || c == u'_' || c == u'-' || ++run >= kLongestUnbrokenRun) {
            out += QChar(0x200B); // a break opportunity that shows nothing
            run = 0;
        }
    }
    return out;
}

AlertDialog::AlertDialog(QWidget* parent, const QString& title, const QString& text)
    : QDialog(parent ? parent->window() : nullptr), over_(parent ? parent->window() : nullptr), titleText_(title),
      messageText_(text)
{
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(this);
    card_ = new QWidget(this);
    card_->setObjectName(QStringLiteral("alertCard"));
    card_->setFixedWidth(kCardWidth);
    card_->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QVBoxLayout(card_);
    layout->setContentsMargins(22, 20, 22, 18);
    layout->setSpacing(8);
    title_ = new QLabel(breakable(title), card_);
    title_->setFont(Palette::font(15, QFont::DemiBold));
    title_->setWordWrap(true);
    text_ = new QLabel(breakable(text), card_);
    text_->setFont(Palette::font(13));
    text_->setWordWrap(true);
    text_->setVisible(!text.isEmpty());
    layout->addWidget(title_);
    layout->addWidget(text_);
    layout->addSpacing(10);
    buttons_ = new QHBoxLayout;
    buttons_->setSpacing(8);
    buttons_->addStretch();
    layout->addLayout(buttons_);

    if (over_) {
        // A sheet: the whole window's area, the card in its upper middle.
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        setWindowModality(Qt::WindowModal);
        outer->setContentsMargins(24, 64, 24, 24);
        outer->addWidget(card_, 0, Qt::AlignHCenter | Qt::AlignTop);
        outer->addStretch();
        auto* shadow = new QGraphicsDropShadowEffect(card_);
        shadow->setBlurRadius(36);
        shadow->setOffset(0, 8);
        shadow->setColor(QColor(0, 0, 0, 110));
        card_->setGraphicsEffect(shadow);
        over_->installEventFilter(this);
    } else {
        setWindowModality(Qt::ApplicationModal);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(card_);
    }
    connect(this, &QDialog::finished, this, [this] {
        if (!over_) return;
        over_->removeEventFilter(this);
        // The keys go back to the window the sheet covered, even where no
        // window manager hands the focus on.
        over_->activateWindow();
    });
}

QPushButton* AlertDialog::addButton(const QString& text, Role role)
{
    auto* button = new QPushButton(text, card_);
    button->setStyleSheet(buttonStyle(role));
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    // Wide enough for its text in the bold of the default button, whichever
    // button that turns out to be and however long the language's word.
    QFont bold = button->font();
    bold.setWeight(QFont::DemiBold);
    button->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(text) + 36);
    if (role == Role::Destructive) button->setAccessibleDescription(translate("Mirelo", "Destructive"));
    // The cancel button is the default whenever there is one; otherwise the
    // first button that does no harm.
    const bool hasCancel = findChild<QPushButton*>(QStringLiteral("alertCancel")) != nullptr;
    if (role == Role::Cancel) button->setObjectName(QStringLiteral("alertCancel"));
    if (role == Role::Cancel || (role == Role::Accept && !hasCancel && !property("hasDefault").toBool())) {
        for (QPushButton* other : card_->findChildren<QPushButton*>()) other->setDefault(false);
        button->setDefault(true);
        setProperty("hasDefault", true);
        button->setFocus();
    }
    // Re-polish all buttons: which one is default changes their look.
    for (QPushButton* other : card_->findChildren<QPushButton*>()) other->setStyleSheet(other->styleSheet());
    buttons_->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, button, role] {
        clicked_ = button;
        role == Role::Cancel ? reject() : accept();
    });
    return button;
}

QList<QPushButton*> AlertDialog::buttons() const
{
    QList<QPushButton*> list;
    for (int i = 0; i < buttons_->count(); ++i)
        if (auto* button = qobject_cast<QPushButton*>(buttons_->itemAt(i)->widget())) list << button;
    return list;
}

AlertDialog* AlertDialog::inform(QWidget* parent, const QString& title, const QString& message)
{
    auto* alert = new AlertDialog(parent, title, message);
    alert->addButton(translate("Mirelo", "OK"), Role::Accept);
    alert->open();
    return alert;
}

void AlertDialog::followParent()
{
    if (!over_) return;
    const QRect frame = over_->geometry();
    behind_ = over_->grab();
    {
        QPainter painter(&behind_);
        painter.fillRect(behind_.rect(), QColor(0, 0, 0, Palette::dark() ? 110 : 70));
    }
    setGeometry(frame);
}

void AlertDialog::showEvent(QShowEvent* event)
{
    const QColor fill = Palette::dark() ? QColor(0x2b, 0x2d, 0x33) : QColor(0xfb, 0xfb, 0xfc);
    card_->setStyleSheet(
        QStringLiteral("#alertCard { background: %1; border-radius: %2px; }").arg(fill.name()).arg(over_ ? 14 : 0));
    // Wrapped text is as tall as the card's width makes it.
    if (QLayout* layout = card_->layout(); layout && layout->hasHeightForWidth())
        card_->setFixedHeight(layout->heightForWidth(kCardWidth));
    if (over_) {
        followParent();
    } else {
        adjustSize();
        if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
    for (QPushButton* button : card_->findChildren<QPushButton*>())
        if (button->isDefault()) button->setFocus();
}

void AlertDialog::paintEvent(QPaintEvent* event)
{
    if (over_ && !behind_.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(rect(), behind_);
        return;
    }
    QDialog::paintEvent(event);
}

bool AlertDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == over_ && isVisible() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        followParent();
    return QDialog::eventFilter(watched, event);
}

} // namespace mirelo
