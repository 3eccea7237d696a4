#include "ui/CAboutDlg.h"
#include "ui/CBoardSizeDlg.h"
#include "ui/CColorPrefsDlg.h"
#include "ui/CTimeLimitDlg.h"
#include "ui/ColorEdit.h"
#include "ui/SettingsColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString positiveMessage = QStringLiteral("Please enter a positive integer.");
const QString integerMessage = QStringLiteral("Please enter an integer.");
const QString sizeRangeMessage = QStringLiteral("Please enter an integer between 3 and 30.");
const QString timeRangeMessage = QStringLiteral("Please enter an integer between 1 and 1440.");

// Shows a number dialog, records its messages instead of opening message boxes, enters text
// and presses OK. Returns the messages shown.
QStringList confirm(NumberFieldDialog& dialog, const QString& text) {
    QStringList shown;
    dialog.setMessageDisplay([&shown](QWidget*, const QString& message) { shown << message; });
    dialog.show();
    if (!QTest::qWaitForWindowActive(&dialog)) {
        qWarning("dialog not active");
    }
    dialog.field()->setText(text);
    QTest::keyClick(dialog.field(), Qt::Key_Return); // OK is the default button
    return shown;
}

QPushButton* buttonWithText(QWidget& parent, const QString& text) {
    for (auto* button : parent.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void boardSizeTitleAndStoredText();
    void boardSizeRefusesOutOfRange_data();
    void boardSizeRefusesOutOfRange();
    void boardSizeAcceptsTheLimits();
    void boardSizeFieldTakesDigitsOnly();
    void timeLimitShowsWholeMinutes_data();
    void timeLimitShowsWholeMinutes();
    void timeLimitRefusals_data();
    void timeLimitRefusals();
    void timeLimitAccepts();
    void cancelKeepsNothing();
    void colorDialogShowsTheColours();
    void colorChooserCancelLeavesTheColour();
    void colorChooserConfirmSetsTheRow();
    void colorEditPaintsItsColour();
    void aboutBox();
};

void DialogTest::boardSizeTitleAndStoredText() {
    CBoardSizeDlg dialog(QStringLiteral("eleven"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Board Size"));
    QCOMPARE(dialog.field()->text(), QStringLiteral("eleven"));
    QVERIFY(dialog.findChild<QLabel*>() != nullptr);
    bool explained = false;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        explained = explained ||
                    label->text() == QStringLiteral("Set the playable board size.  This can be "
                                                    "any number from 3 to 30.");
    }
    QVERIFY(explained);
}

void DialogTest::boardSizeRefusesOutOfRange_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("message");
    QTest::newRow("2") << "10"
                       << "2" << sizeRangeMessage;
    QTest::newRow("31") << "10"
                        << "31" << sizeRangeMessage;
    QTest::newRow("0") << "10"
                       << "0" << sizeRangeMessage;
    QTest::newRow("huge") << "10"
                          << "99999999999" << sizeRangeMessage;
    QTest::newRow("empty") << "10"
                           << "" << positiveMessage;
    QTest::newRow("negative") << "10"
                              << "-5" << positiveMessage;
    QTest::newRow("stored text") << "ten"
                                 << "ten" << positiveMessage;
}

void DialogTest::boardSizeRefusesOutOfRange() {
    QFETCH(QString, stored);
    QFETCH(QString, entered);
    QFETCH(QString, message);
    CBoardSizeDlg dialog(stored);
    QCOMPARE(dialog.field()->text(), stored);
    QCOMPARE(confirm(dialog, entered), QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.size(), 0u);
    QVERIFY(dialog.field()->hasFocus());
    QCOMPARE(dialog.field()->selectedText(), entered);
}

void DialogTest::boardSizeAcceptsTheLimits() {
    for (const unsigned size : {3u, 30u}) {
        CBoardSizeDlg dialog(QStringLiteral("10"));
        QCOMPARE(confirm(dialog, QString::number(size)), QStringList{});
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.size(), size);
    }
}

void DialogTest::boardSizeFieldTakesDigitsOnly() {
    CBoardSizeDlg dialog(QString{});
    dialog.show();
    QTest::keyClicks(dialog.field(), QStringLiteral("1-a2 "));
    QCOMPARE(dialog.field()->text(), QStringLiteral("12"));
}

void DialogTest::timeLimitShowsWholeMinutes_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("default") << "300"
                             << "5";
    QTest::newRow("90 seconds") << "90"
                                << "1";
    QTest::newRow("under a minute") << "59"
                                    << "0";
    QTest::newRow("negative") << "-130"
                              << "-2";
    QTest::newRow("blanks and tail") << "  600s"
                                     << "10";
    QTest::newRow("not a number") << "soon"
                                  << "0";
    QTest::newRow("empty") << ""
                           << "0";
}

void DialogTest::timeLimitShowsWholeMinutes() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    CTimeLimitDlg dialog(stored);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Game Time Limit"));
    QCOMPARE(dialog.field()->text(), shown);
}

void DialogTest::timeLimitRefusals_data() {
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("message");
    QTest::newRow("0") << "0" << timeRangeMessage;
    QTest::newRow("1441") << "1441" << timeRangeMessage;
    QTest::newRow("negative") << "-2" << timeRangeMessage;
    QTest::newRow("empty") << "" << integerMessage;
    QTest::newRow("letters") << "5 min" << integerMessage;
}

void DialogTest::timeLimitRefusals() {
    QFETCH(QString, entered);
    QFETCH(QString, message);
    CTimeLimitDlg dialog(QStringLiteral("300"));
    QCOMPARE(confirm(dialog, entered), QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.minutes(), 0);
    QVERIFY(dialog.field()->hasFocus());
}

void DialogTest::timeLimitAccepts() {
    CTimeLimitDlg stored90(QStringLiteral("90"));
    QCOMPARE(confirm(stored90, stored90.field()->text()), QStringList{});
    QCOMPARE(stored90.result(), int(QDialog::Accepted));
    QCOMPARE(stored90.minutes(), 1);

    CTimeLimitDlg day(QStringLiteral("300"));
    QCOMPARE(confirm(day, QStringLiteral("1440")), QStringList{});
    QCOMPARE(day.minutes(), 1440);
}

void DialogTest::cancelKeepsNothing() {
    CBoardSizeDlg dialog(QStringLiteral("10"));
    dialog.show();
    dialog.field()->setText(QStringLiteral("12"));
    QPushButton* cancel = buttonWithText(dialog, QStringLiteral("Cancel"));
    QVERIFY(cancel != nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.size(), 0u);
}

void DialogTest::colorDialogShowsTheColours() {
    BoardColors colors;
    colors.player2 = 0x123456;
    CColorPrefsDlg dialog(colors);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Color Preferences"));
    for (const auto& row : CColorPrefsDlg::rows) {
        auto* swatch = dialog.findChild<ColorEdit*>(QLatin1String(row.name));
        QVERIFY(swatch != nullptr);
        QCOMPARE(swatch->color(), colorFromSettings(colors.*row.field));
        QVERIFY(swatch->isReadOnly());
        QVERIFY(!swatch->hasFrame());
    }
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), qsizetype{9});
}

void DialogTest::colorChooserCancelLeavesTheColour() {
    const BoardColors colors;
    CColorPrefsDlg dialog(colors);
    int asked = 0;
    dialog.setColorChooser([&asked](QWidget*) -> std::optional<QColor> {
        ++asked;
        return std::nullopt;
    });
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("COLOR_CELL"));
    QVERIFY(button != nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(asked, 1);
    QVERIFY(dialog.colors() == colors);
    QCOMPARE(dialog.findChild<ColorEdit*>(QStringLiteral("COLOR_CELL"))->color(),
             colorFromSettings(colors.cell));
}

void DialogTest::colorChooserConfirmSetsTheRow() {
    const BoardColors colors;
    CColorPrefsDlg dialog(colors);
    dialog.setColorChooser([](QWidget*) { return std::optional<QColor>(QColor(1, 2, 3)); });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("COLOR_PATH")), Qt::LeftButton);
    BoardColors expected = colors;
    expected.path = 1 | (2 << 8) | (3 << 16);
    QVERIFY(dialog.colors() == expected);
    QCOMPARE(dialog.findChild<ColorEdit*>(QStringLiteral("COLOR_PATH"))->color(), QColor(1, 2, 3));
    QCOMPARE(dialog.findChild<ColorEdit*>(QStringLiteral("COLOR_BACK"))->color(),
             colorFromSettings(colors.background));
}

void DialogTest::colorEditPaintsItsColour() {
    ColorEdit swatch;
    swatch.resize(60, 20);
    swatch.SetColor(QColor(10, 200, 30));
    const QImage image = swatch.grab().toImage();
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(10, 200, 30));
    QCOMPARE(image.pixelColor(0, 0), QColor(10, 200, 30));
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(10, 200, 30));
}

void DialogTest::aboutBox() {
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Quorlen"));
    auto* text = dialog.findChild<QLabel*>(QStringLiteral("aboutText"));
    QVERIFY(text != nullptr);
    QCOMPARE(text->text(), QStringLiteral("Quorlen\nVersion 1.0"));
    dialog.show();
    QTest::mouseClick(buttonWithText(dialog, QStringLiteral("OK")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
