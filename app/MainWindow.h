#pragma once

#include "app/Services.h"
#include "engine/ColorizeOptions.h"
#include "palette/Palette.h"
#include "platform/Dialogs.h"

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
class InputLine;
class PreviewBox;
class UserSchemeMenu;

// The main window. Its controls are the program's data: the palette is the ten colour
// boxes, the options are the lists and check boxes, the result is the code box and the
// preview. Every command is one slot below that reads the controls, calls the core
// libraries and writes the controls back. A command that has both a button and a menu item
// is one QAction, which the button triggers.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and loads its start state; does not show it.
    explicit MainWindow(const Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The colour box last pressed with the mouse; nothing until the first press.
    std::optional<int> pressedSlot() const { return pressedSlot_; }
    int userSchemeCount() const;

    // The palette the ten boxes show.
    palette::Palette colors() const;
    void setColors(const palette::Palette& palette);

    // The output choices the Options menu shows.
    engine::OutputChoices outputChoices() const { return outputChoices_; }

    // The text of the code box on show: what Copy and Save take and the size line counts.
    QString codeText() const;

public Q_SLOTS:
    void colorize();
    void clearColors();
    void copyHtml();
    // The last colorized text as HTML spans (with face, size, styles and centring,
    // whatever the format) and as plain text.
    void copyRichText();
    void pasteCode();
    void invertColors();
    void rotateColors(palette::Rotation rotation);
    void reverseColors();
    void randomizeColors();
    void saveAs();
    void choosePreviewBackground();
    void showAbout();
    void quit();

    // The colour box pop-up, acting on the box it was opened over.
    void clearPressedSlot();
    void invertPressedSlot();
    void randomizePressedSlot();

    void applyPreset(const palette::Preset& preset);
    void addScheme();
    void applyUserScheme(int number);
    void removeScheme();
    // Removes user scheme number (1-based) titled title, as the user saw it in the Remove
    // Scheme dialog, even when another running copy renumbered the schemes meanwhile;
    // says so when it is gone already.
    void removeUserScheme(int number, const QString& title);
    // Rebuilds the user-scheme entries of the Schemes menu from the stored titles.
    void rebuildUserSchemeMenu();

    // Any choice of format, blend, spread, merging or skipping blanks.
    void chooseOutput(const engine::OutputChoices& chosen);
    // Asks for the template, showing the current one, and chooses the template format
    // with it.
    void editTemplate();
    // Asks for the longest code Colorize may write (0: no limit), showing the current one.
    void fitToLength();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void createControls();
    void createPaletteRow(QWidget* client);
    void createButtons(QWidget* client);
    void createOptions(QWidget* client);
    void createResultBoxes(QWidget* client);
    void createSharedActions();
    void createMenus();
    void createPresetItems(QMenu* schemes);
    void createSlotMenu();
    void createOptionsMenu(QMenuBar* bar);
    using ChooseFlag = std::function<void(bool engine::OutputChoices::*, bool)>;
    void createFitItems(QMenu* options, const ChooseFlag& choose);
    void connectCommands();
    void orderTabStops();
    void loadStartState();
    // A colour box was pressed: the left button picks its colour, the right one opens the
    // pop-up over it; any button makes it the pressed slot.
    void slotPressed(int index, Qt::MouseButton button, QPoint globalPos);
    // The code box changed, by Colorize or by the user.
    void codeChanged();
    // What Colorize takes from the controls and the Options menu.
    engine::ColorizeOptions chosenOptions() const;
    void showOptions(const engine::OutputChoices& choices);
    // The format of the code in the box: the one Colorize wrote it in, else the chosen one.
    engine::OutputFormat codeFormat() const;
    // The code label, Copy and Save name the code's format: HTML, or code in general.
    void showCodeCaptions();
    void centreOnScreen();
    void centreFrameOnce();
    void showMessage(const QString& text,
                     platform::MessageDisplay::Icon icon = platform::MessageDisplay::Icon::Warning);

    Services services_;
    std::optional<int> pressedSlot_;
    engine::OutputChoices outputChoices_;
    // What Colorize last turned into the code box: its format decides how Save writes the
    // code, and Copy as Rich Text colorizes it again. Nothing once the box is empty.
    struct Colorized {
        QString text;
        SlotValues slots;
        engine::ColorizeOptions options;
        int fitLimit = 0; // the code was fitted to this length, with options.step per colour
    };
    std::optional<Colorized> colorized_;
    bool shownOnce_ = false;
    bool frameCentred_ = false;

    InputLine* textEdit_ = nullptr;
    std::array<ColorBox*, kSlotCount> colorBoxes_{};
    QComboBox* faceCombo_ = nullptr;
    QComboBox* sizeCombo_ = nullptr;
    QCheckBox* boldCheck_ = nullptr;
    QCheckBox* italicCheck_ = nullptr;
    QCheckBox* underlineCheck_ = nullptr;
    QCheckBox* centerCheck_ = nullptr;
    PreviewBox* preview_ = nullptr;
    CodeBox* codeBox_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QLabel* codeSizeLabel_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QMenu* slotMenu_ = nullptr;
    QMenu* schemesMenu_ = nullptr;

    // The commands that have both a button and a menu item.
    struct SharedActions {
        QAction* colorize = nullptr;
        QAction* randomizeColors = nullptr;
        QAction* invertColors = nullptr;
        QAction* reverseColors = nullptr;
        QAction* clearColors = nullptr;
        QAction* saveAs = nullptr;
    } actions_;
    // The radio items of the Options menu, each with the choices it stands for.
    struct ChoiceItem {
        QAction* action;
        std::function<bool(const engine::OutputChoices&)> selectedBy;
    };
    std::vector<ChoiceItem> choiceItems_;
    QAction* mergeItem_ = nullptr;
    QAction* skipBlanksItem_ = nullptr;
    QAction* strikethroughItem_ = nullptr;
    QAction* obfuscatedItem_ = nullptr;
    QAction* fitItem_ = nullptr;
    QMenu* depthMenu_ = nullptr; // Terminal Colours, for ANSI only

    std::unique_ptr<UserSchemeMenu> userSchemeMenu_;
    std::unique_ptr<schemes::SchemeStore> store_;
};

} // namespace tintwave::app
