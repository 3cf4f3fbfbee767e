#pragma once

#include "app/Services.h"
#include "engine/ColorizeOptions.h"
#include "palette/Palette.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tintwave::palette {
struct Preset;
}
namespace tintwave::schemes {
class SchemeStore;
}

namespace tintwave::app {

class CodeBox;
class ColorBox;
class PreviewBox;
class SchemeMenuActions;

// The main window. Its controls are the program's data: the palette is the ten colour
// boxes, the options are the lists and check boxes, the result is the code box and the
// preview. Every command is one handler below that reads the controls, calls the core
// libraries and writes the controls back. Controls and menu items carry their names as
// object names ("picColor(3)", "mnuSchemeArray(2)").
class frmMain1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs the start-up; does not show it.
    explicit frmMain1(const Services& services, QWidget* parent = nullptr);
    ~frmMain1() override;

    // The empty-slot marker, taken from the first colour box at start-up.
    ColorValue gColor() const { return gColor_; }
    // The slot last pressed with the mouse; nothing until the first press.
    std::optional<int> gIndex() const { return gIndex_; }
    int gNumSchemes() const;

    // The palette the ten boxes show.
    palette::Palette colors() const;
    void setColors(const palette::Palette& palette);

    // Buttons, and the menu items that repeat them.
    void Command1_Click();          // Colorize!
    void Command2_Click();          // Clear Colors
    void Command3_Click();          // Copy HTML
    void Command4_Click();          // Invert Colors
    void Command5_Click(int index); // 0: rotate left, 1: rotate right
    void Command6_Click();          // Reverse Order
    void Command7_Click();          // Random Colors
    void Command8_Click();          // Save HTML

    // Colour boxes and their pop-up menu.
    void picColor_MouseDown(int index, Qt::MouseButton button, QPoint globalPos);
    void mnuClear_Click();
    void mnuInvert_Click();
    void mnuRandomOne_Click();

    // Schemes.
    void mnuPreset_Click(const palette::Preset& preset);
    void mnuAdd_Click();
    void mnuSchemeArray_Click(int index);
    void mnuRemove_Click();
    // Removes the user scheme the user chose in the Remove Scheme dialog, its line
    // schemeNum (1-based) titled title, even when another running copy renumbered the
    // schemes meanwhile; says so when it is gone already.
    void deleteIt(int schemeNum, const QString& title);
    // Rebuilds the user-scheme entries of the Schemes menu from the stored titles.
    void RestoreMenus();

    // Options: any choice of format, blend, spread, merging or skipping blanks.
    void mnuOptions_Click(const engine::OutputChoices& chosen);
    // Options > Custom Template...: asks for the template, showing the current one, and
    // chooses the template format with it.
    void mnuTemplate_Click();
    // File > Copy as Rich Text: the last colorized text as HTML spans (with face, size,
    // styles and centring, whatever the format) and as plain text.
    void mnuCopyRich_Click();
    // The output choices the Options menu shows.
    engine::OutputChoices outputChoices() const { return outputChoices_; }

    // The text of the code box on show: what Copy and Save take and the size line counts.
    QString codeText() const;

    void RTB1_Click();
    void mnuSave_Click();
    void mnuAbout_Click();
    void mnuExit_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void buildControls();
    void buildPaletteRow(QWidget* client);
    void buildButtons(QWidget* client);
    void buildOptions(QWidget* client);
    void buildResultBoxes(QWidget* client);
    void buildMenus();
    void buildSchemesMenu(QMenu* schemes);
    void buildPopUpMenu();
    void createOptionsMenu(QMenuBar* bar);
    // What Colorize takes from the controls and the Options menu.
    engine::ColorizeOptions chosenOptions() const;
    void showOptions(const engine::OutputChoices& choices);
    // The code box changed, by Colorize or by the user.
    void Text2_Change();
    void setTabOrders();
    void Form_Load();
    void centreOnScreen();
    void centreFrameOnce();
    void showMessage(const QString& text);

    Services services_;
    ColorValue gColor_ = palette::gColor;
    std::optional<int> gIndex_;
    engine::OutputChoices outputChoices_;
    // The format of the code Colorize put in the code box; nothing once the box is empty.
    std::optional<engine::OutputFormat> codeFormat_;
    // What Colorize last turned into the code box, for Copy as Rich Text.
    struct Colorized {
        QString text;
        SlotValues slots;
        engine::ColorizeOptions options;
    };
    std::optional<Colorized> colorized_;
    bool shownOnce_ = false;
    bool frameCentred_ = false;

    QLineEdit* txtInput_ = nullptr;
    std::array<ColorBox*, kSlotCount> picColor_{};
    QComboBox* cboFont_ = nullptr;
    QComboBox* cboSize_ = nullptr;
    QCheckBox* chkBold_ = nullptr;
    QCheckBox* chkItalic_ = nullptr;
    QCheckBox* chkUnderline_ = nullptr;
    QCheckBox* chkCenter_ = nullptr;
    PreviewBox* RTB1_ = nullptr;
    CodeBox* Text2_ = nullptr;
    QLabel* lblCodeSize_ = nullptr;
    QMenu* mnuPopUp_ = nullptr;
    QMenu* mnuSchemes_ = nullptr;
    // The radio items of the Options menu, each with the choices it stands for.
    struct ChoiceItem {
        QAction* action;
        std::function<bool(const engine::OutputChoices&)> selectedBy;
    };
    std::vector<ChoiceItem> choiceItems_;
    QAction* mnuMerge_ = nullptr;
    QAction* mnuSkipBlanks_ = nullptr;

    std::unique_ptr<SchemeMenuActions> schemeMenu_;
    std::unique_ptr<schemes::SchemeStore> store_;
};

} // namespace tintwave::app
