#include "gtp/EnginePlayer.h"
#include "ui/CAboutDlg.h"
#include "ui/CBoardSizeDlg.h"
#include "ui/CColorPrefsDlg.h"
#include "ui/CEngineDlg.h"
#include "ui/CTimeLimitDlg.h"
#include "ui/ColorEdit.h"
#include "ui/SettingsColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace {

const QString positiveMessage = QStringLiteral("Please enter a positive integer.");
const QString integerMessage = QStringLiteral("Please enter an integer.");
const QString sizeRangeMessage = QStringLiteral("Please enter an integer between 3 and 30.");
const QString timeRangeMessage = QStringLiteral("Please enter an integer between 1 and 1440.");

QPushButton* okButton(const QWidget& dialog) {
    const auto buttons = dialog.findChildren<QPushButton*>();
    const auto ok = std::find_if(buttons.begin(), buttons.end(), [](const QPushButton* button) {
        return button->text() == QStringLiteral("OK");
    });
    return ok == buttons.end() ? nullptr : *ok;
}

// Shows a number dialog, enters text and clicks OK, which takes the focus from the field.
// Returns the messages shown, which are recorded instead of opening message boxes.
QStringList confirm(NumberFieldDialog& dialog, const QString& text) {
    QStringList shown;
    dialog.setMessageDisplay([&shown](QWidget*, const QString& message) { shown << message; });
    dialog.show();
    if (!QTest::qWaitForWindowActive(&dialog)) {
        shown << QStringLiteral("(the dialog never became active)");
    }
    dialog.field()->setText(text);
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    return shown;
}

bool hasLabel(const QWidget& dialog, const QString& text) {
    const auto labels = dialog.findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(),
                       [&text](const QLabel* label) { return label->text() == text; });
}

} // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void boardSizeShowsTheStoredText();
    void timeLimitShowsWholeMinutes();
    void entries_data();
    void entries();
    void colorChooserCancelAndConfirm();
    void aboutBox();
    void engineDialogStartsTheEngineOrSaysWhyNot();
};

void DialogTest::boardSizeShowsTheStoredText() {
    CBoardSizeDlg dialog(QStringLiteral("eleven"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Board Size"));
    QVERIFY(hasLabel(dialog, QStringLiteral("Set the playable board size.  This can be any "
                                            "number from 3 to 30.")));
    QCOMPARE(dialog.field()->text(), QStringLiteral("eleven"));
    QVERIFY(okButton(dialog)->isDefault());
    // Typing is limited to digits.
    dialog.field()->clear();
    QTest::keyClicks(dialog.field(), QStringLiteral("1-a2 "));
    QCOMPARE(dialog.field()->text(), QStringLiteral("12"));
}

void DialogTest::timeLimitShowsWholeMinutes() {
    CTimeLimitDlg dialog(QStringLiteral("90"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Game Time Limit"));
    QVERIFY(hasLabel(dialog, QStringLiteral("Set the game time limit. The Quorlen AI will respect "
                                            "this time limit.  For human players this is just a "
                                            "guideline")));
    QCOMPARE(dialog.field()->text(), QStringLiteral("1"));
    QCOMPARE(confirm(dialog, dialog.field()->text()), QStringList{});
    QCOMPARE(dialog.minutes(), 1);
    QCOMPARE(CTimeLimitDlg(QStringLiteral(" -130s")).field()->text(), QStringLiteral("-2"));
    QCOMPARE(CTimeLimitDlg(QStringLiteral("soon")).field()->text(), QStringLiteral("0"));
}

// An entry out of range or not a number is refused with its message, the limits are taken.
void DialogTest::entries_data() {
    QTest::addColumn<bool>("timeLimit");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<int>("value"); // what the dialog gives, 0 when it refuses
    QTest::addColumn<QString>("message");
    QTest::newRow("size 3") << false << "3" << 3 << QString();
    QTest::newRow("size 30") << false << "30" << 30 << QString();
    QTest::newRow("size 2") << false << "2" << 0 << sizeRangeMessage;
    QTest::newRow("size 31") << false << "31" << 0 << sizeRangeMessage;
    QTest::newRow("size huge") << false << "99999999999" << 0 << sizeRangeMessage;
    QTest::newRow("size empty") << false << "" << 0 << positiveMessage;
    QTest::newRow("size text") << false << "ten" << 0 << positiveMessage;
    QTest::newRow("time 1440") << true << "1440" << 1440 << QString();
    QTest::newRow("time 0") << true << "0" << 0 << timeRangeMessage;
    QTest::newRow("time 1441") << true << "1441" << 0 << timeRangeMessage;
    QTest::newRow("time empty") << true << "" << 0 << integerMessage;
    QTest::newRow("time letters") << true << "5 min" << 0 << integerMessage;
}

void DialogTest::entries() {
    QFETCH(bool, timeLimit);
    QFETCH(QString, entered);
    QFETCH(int, value);
    QFETCH(QString, message);
    CBoardSizeDlg sizeDialog(QStringLiteral("10"));
    CTimeLimitDlg timeDialog(QStringLiteral("300"));
    NumberFieldDialog& dialog =
        timeLimit ? static_cast<NumberFieldDialog&>(timeDialog) : sizeDialog;
    const bool refused = !message.isEmpty();
    QCOMPARE(confirm(dialog, entered), refused ? QStringList{message} : QStringList{});
    QCOMPARE(timeLimit ? timeDialog.minutes() : static_cast<int>(sizeDialog.size()), value);
    QCOMPARE(dialog.result(), int(refused ? QDialog::Rejected : QDialog::Accepted));
    QCOMPARE(dialog.isVisible(), refused);
    if (refused) {
        QVERIFY(dialog.field()->hasFocus());
        QCOMPARE(dialog.field()->selectedText(), entered);
    }
}

void DialogTest::colorChooserCancelAndConfirm() {
    const BoardColors colors;
    CColorPrefsDlg dialog(colors);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Color Preferences"));
    for (const auto& row : CColorPrefsDlg::rows) {
        QCOMPARE(dialog.findChild<ColorEdit*>(QLatin1String(row.name))->color(),
                 colorFromSettings(colors.*row.field));
    }
    std::optional<QColor> answer;
    dialog.setColorChooser([&answer](QWidget*) { return answer; });
    auto* cellButton = dialog.findChild<QPushButton*>(QStringLiteral("COLOR_CELL"));
    auto* cellSwatch = dialog.findChild<ColorEdit*>(QStringLiteral("COLOR_CELL"));

    QTest::mouseClick(cellButton, Qt::LeftButton);
    QVERIFY(dialog.colors() == colors);
    QCOMPARE(cellSwatch->color(), colorFromSettings(colors.cell));

    answer = QColor(1, 2, 3);
    QTest::mouseClick(cellButton, Qt::LeftButton);
    BoardColors expected = colors;
    expected.cell = 1 | (2 << 8) | (3 << 16);
    QVERIFY(dialog.colors() == expected);
    QCOMPARE(cellSwatch->color(), QColor(1, 2, 3));
    // A swatch paints its colour to its corners.
    ColorEdit swatch;
    swatch.resize(60, 20);
    swatch.SetColor(QColor(1, 2, 3));
    const QImage image = swatch.grab().toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(1, 2, 3));
    QCOMPARE(image.pixelColor(59, 19), QColor(1, 2, 3));
}

void DialogTest::aboutBox() {
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Quorlen"));
    QVERIFY(hasLabel(dialog, QStringLiteral("Quorlen\nVersion 1.0")));
    dialog.show();
    QVERIFY(okButton(dialog)->isDefault());
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void DialogTest::engineDialogStartsTheEngineOrSaysWhyNot() {
    const auto fake = [](const char* mode) {
        return QStringLiteral("/bin/sh '%1' %2").arg(QStringLiteral(FAKE_ENGINE), mode);
    };
    CEngineDlg dialog(2, QStringLiteral("  "), [](const std::string& command) {
        EnginePlayer::Options options;
        options.command = command;
        return std::make_unique<EnginePlayer>(options);
    });
    QCOMPARE(dialog.windowTitle(), QStringLiteral("GTP Engine for Player 2"));
    QStringList shown;
    dialog.setMessageDisplay([&shown](QWidget*, const QString& message) { shown << message; });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    QCOMPARE(shown, QStringList{QStringLiteral("Please enter the engine's command line.")});

    dialog.field()->setText(fake("mute"));
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return shown.size() == 2; }, 30000));
    QCOMPARE(shown.back(), QStringLiteral("The engine did not start: it closed its output (it "
                                          "exited with status 0) at name."));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.field()->isEnabled());

    dialog.field()->setText(fake("refuse"));
    QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 30000));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const std::unique_ptr<EnginePlayer> player = dialog.takePlayer();
    QVERIFY(player != nullptr);
    QCOMPARE(player->name(), std::string("fake-refuse"));
}

QTEST_MAIN(DialogTest)
#include "DialogTest.moc"
