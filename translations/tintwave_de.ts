<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>QObject</name>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
<context>
    <name>tintwave::app::AboutWindow</name>
    <message>
        <source>Gradient text for the web</source>
        <translation>Farbverlaufstext fürs Web</translation>
    </message>
</context>
<context>
    <name>tintwave::app::CodeBox</name>
    <message>
        <source>HTML code</source>
        <translation>HTML-Code</translation>
    </message>
    <message>
        <source>The code Colorize wrote; it can be edited</source>
        <translation>Der beim Einfärben erzeugte Code; er kann bearbeitet werden</translation>
    </message>
    <message>
        <source>The code Colorize wrote, too long to edit</source>
        <translation>Der beim Einfärben erzeugte Code, zu lang zum Bearbeiten</translation>
    </message>
</context>
<context>
    <name>tintwave::app::ColorBox</name>
    <message>
        <source>Colour slot %1</source>
        <translation>Farbfeld %1</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>leer</translation>
    </message>
</context>
<context>
    <name>tintwave::app::LazyTextView</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
</context>
<context>
    <name>tintwave::app::MainWindow</name>
    <message>
        <source>&amp;Font Tags (HTML 3.2)</source>
        <translation>&amp;Font-Tags (HTML 3.2)</translation>
    </message>
    <message>
        <source>&amp;Span Tags (HTML5)</source>
        <translation>&amp;Span-Tags (HTML5)</translation>
    </message>
    <message>
        <source>&amp;BBCode</source>
        <translation>&amp;BBCode</translation>
    </message>
    <message>
        <source>&amp;ANSI Terminal</source>
        <translation>&amp;ANSI-Terminal</translation>
    </message>
    <message>
        <source>&amp;RGB Blend</source>
        <translation>&amp;RGB-Mischung</translation>
    </message>
    <message>
        <source>OKLab Ble&amp;nd</source>
        <translation>&amp;OKLab-Mischung</translation>
    </message>
    <message>
        <source>OKLC&amp;h Blend</source>
        <translation>OKLC&amp;h-Mischung</translation>
    </message>
    <message>
        <source>&amp;Classic Spread</source>
        <translation>&amp;Klassische Verteilung</translation>
    </message>
    <message>
        <source>&amp;Even Spread</source>
        <translation>&amp;Gleichmäßige Verteilung</translation>
    </message>
    <message>
        <source>Colors:</source>
        <translation>Farben:</translation>
    </message>
    <message>
        <source>Colorize!</source>
        <translation>Einfärben!</translation>
    </message>
    <message>
        <source>Ra&amp;ndom Colors</source>
        <translation>&amp;Zufallsfarben</translation>
    </message>
    <message>
        <source>&amp;Invert Colors</source>
        <translation>&amp;Invertieren</translation>
    </message>
    <message>
        <source>Re&amp;verse Order</source>
        <translation>Spie&amp;geln</translation>
    </message>
    <message>
        <source>C&amp;lear Colors</source>
        <translation>Farben &amp;leeren</translation>
    </message>
    <message>
        <source>&amp;Copy HTML</source>
        <translation>HTML &amp;kopieren</translation>
    </message>
    <message>
        <source>S&amp;ave HTML</source>
        <translation>HTML s&amp;peichern</translation>
    </message>
    <message>
        <source>Text to Color:</source>
        <translation>Text zum Einfärben:</translation>
    </message>
    <message>
        <source>Text to Color</source>
        <translation>Text zum Einfärben</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Font:</source>
        <translation>Schrift:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation>Vorschau:</translation>
    </message>
    <message>
        <source>HTML Code:</source>
        <translation>HTML-Code:</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save as HTML...</source>
        <translation>Als HTML &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Colorize</source>
        <translation>&amp;Einfärben</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Schemes</source>
        <translation>&amp;Schemata</translation>
    </message>
    <message>
        <source>&amp;Add Scheme...</source>
        <translation>Schema &amp;hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove Scheme...</source>
        <translation>Schema &amp;entfernen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Info über Tintwave...</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>&amp;Invert</source>
        <translation>&amp;Invertieren</translation>
    </message>
    <message>
        <source>Ra&amp;ndom</source>
        <translation>&amp;Zufällig</translation>
    </message>
    <message>
        <source>C&amp;ancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Merge Equal Colors</source>
        <translation>Gleiche Farben &amp;zusammenfassen</translation>
    </message>
    <message>
        <source>en</source>
        <comment>locale whose digit grouping the size line uses</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>%1 character</source>
        <translation>%1 Zeichen</translation>
    </message>
    <message>
        <source>%1 characters</source>
        <translation>%1 Zeichen</translation>
    </message>
    <message>
        <source>Please type the name for the scheme</source>
        <translation>Bitte geben Sie einen Namen für das Schema ein</translation>
    </message>
    <message>
        <source>The scheme &quot;%1&quot; is no longer there.</source>
        <translation>Das Schema „%1“ ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>HTML Files (*.html *.htm)</source>
        <translation>HTML-Dateien (*.html *.htm)</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>%1, too long to edit</source>
        <translation>%1, zu lang zum Bearbeiten</translation>
    </message>
    <message>
        <source>Minecraft He&amp;x (&amp;&amp;#RRGGBB)</source>
        <translation>Minecraft-He&amp;x (&amp;&amp;#RRGGBB)</translation>
    </message>
    <message>
        <source>Minecraft &amp;&amp;x Co&amp;des</source>
        <translation>Minecraft-&amp;&amp;x-Co&amp;des</translation>
    </message>
    <message>
        <source>Minecraft Section Si&amp;gns (§x)</source>
        <translation>Minecraft-&amp;Paragrafenzeichen (§x)</translation>
    </message>
    <message>
        <source>M&amp;iniMessage</source>
        <translation>Mi&amp;niMessage</translation>
    </message>
    <message>
        <source>&amp;JSON Text Components</source>
        <translation>&amp;JSON-Textkomponenten</translation>
    </message>
    <message>
        <source>&amp;Template</source>
        <translation>&amp;Vorlage</translation>
    </message>
    <message>
        <source>Copy as &amp;Rich Text</source>
        <translation>Als &amp;formatierten Text kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste Code</source>
        <translation>Code ei&amp;nfügen</translation>
    </message>
    <message>
        <source>Cannot tell the format of this code.</source>
        <translation>Das Format dieses Codes ist nicht zu erkennen.</translation>
    </message>
    <message>
        <source>This code cannot be read: %1</source>
        <translation>Dieser Code ist nicht lesbar: %1</translation>
    </message>
    <message>
        <source>Ski&amp;p Blanks</source>
        <translation>&amp;Leerraum ohne Farbcode</translation>
    </message>
    <message>
        <source>C&amp;ustom Template...</source>
        <translation>&amp;Eigene Vorlage...</translation>
    </message>
    <message>
        <source>Please type the template: {c} the character, {hex} its colour as RRGGBB, {h1} to {h6} those digits, {r} {g} {b} in decimal, {{ and }} a brace</source>
        <translation>Bitte geben Sie die Vorlage ein: {c} das Zeichen, {hex} seine Farbe als RRGGBB, {h1} bis {h6} diese Ziffern einzeln, {r} {g} {b} dezimal, {{ und }} eine Klammer</translation>
    </message>
    <message>
        <source>The template has an %1.</source>
        <translation>Die Vorlage enthält %1.</translation>
    </message>
    <message>
        <source>JSON Files (*.json)</source>
        <translation>JSON-Dateien (*.json)</translation>
    </message>
    <message>
        <source>Discord ANSI Block (&amp;8 Colors)</source>
        <translation>Discord-ANSI-Block (&amp;8 Farben)</translation>
    </message>
    <message>
        <source>IRC (mIRC, 1&amp;6 Colors)</source>
        <translation>IRC (mIRC, 1&amp;6 Farben)</translation>
    </message>
    <message>
        <source>&amp;24-bit</source>
        <translation>&amp;24 Bit</translation>
    </message>
    <message>
        <source>2&amp;56</source>
        <translation>2&amp;56</translation>
    </message>
    <message>
        <source>1&amp;6</source>
        <translation>1&amp;6</translation>
    </message>
    <message>
        <source>&amp;8</source>
        <translation>&amp;8</translation>
    </message>
    <message>
        <source>Terminal &amp;Colours</source>
        <translation>Terminal-Farb&amp;umfang</translation>
    </message>
    <message>
        <source>Code:</source>
        <translation>Code:</translation>
    </message>
    <message>
        <source>&amp;Copy Code</source>
        <translation>Code &amp;kopieren</translation>
    </message>
    <message>
        <source>S&amp;ave Code</source>
        <translation>Code s&amp;peichern</translation>
    </message>
    <message>
        <source>&amp;Save Code...</source>
        <translation>Code &amp;speichern...</translation>
    </message>
    <message>
        <source>None</source>
        <comment>no face or size chosen</comment>
        <translation>Keine</translation>
    </message>
    <message>
        <source>The scheme was not added: it needs a name.</source>
        <translation>Das Schema wurde nicht hinzugefügt: Es braucht einen Namen.</translation>
    </message>
    <message>
        <source>The scheme &quot;%1&quot; was not added: the Schemes menu holds as many schemes as it can. Remove one first.</source>
        <translation>Das Schema „%1“ wurde nicht hinzugefügt: Das Menü Schemata fasst keine weiteren. Entfernen Sie zuerst eines.</translation>
    </message>
    <message>
        <source>The template is empty.</source>
        <translation>Die Vorlage ist leer.</translation>
    </message>
    <message>
        <source>MiniMessage Gradients (Ser&amp;ver-Side)</source>
        <translation>MiniMessage-Verläufe (vom Server bere&amp;chnet)</translation>
    </message>
    <message>
        <source>Stri&amp;kethrough</source>
        <translation>Durchgestr&amp;ichen</translation>
    </message>
    <message>
        <source>&amp;Obfuscated</source>
        <translation>Verschleier&amp;t</translation>
    </message>
    <message>
        <source>Fit to &amp;Length...</source>
        <translation>&amp;Maximallänge...</translation>
    </message>
    <message>
        <source>%1 of %2 characters, %3 per colour</source>
        <translation>%1 von %2 Zeichen, %3 je Farbe</translation>
    </message>
    <message>
        <source>%1 of %2 bytes, %3 per colour</source>
        <translation>%1 von %2 Bytes, %3 je Farbe</translation>
    </message>
    <message>
        <source>Fit the code to how many characters? 0 for no limit.
Minecraft: chat 256, a sign line 384, an anvil name 50.
Discord: a message 2000. IRC: a line about 400.</source>
        <translation>Auf wie viele Zeichen soll der Code passen? 0 für keine Grenze.
Minecraft: Chat 256, eine Schildzeile 384, ein Ambossname 50.
Discord: eine Nachricht 2000. IRC: eine Zeile etwa 400.</translation>
    </message>
    <message>
        <source>The limit must be a whole number, 0 or more.</source>
        <translation>Die Grenze muss eine ganze Zahl ab 0 sein.</translation>
    </message>
</context>
<context>
    <name>tintwave::app::PreviewBox</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>The colorized text; Space chooses the background colour</source>
        <translation>Der eingefärbte Text; die Leertaste wählt die Hintergrundfarbe</translation>
    </message>
</context>
<context>
    <name>tintwave::app::RemoveSchemeDialog</name>
    <message>
        <source>Remove Scheme</source>
        <translation>Schema entfernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>tintwave::engine</name>
    <message>
        <source>You must type something.</source>
        <translation>Bitte geben Sie einen Text ein.</translation>
    </message>
    <message>
        <source>You must select at least one color</source>
        <translation>Bitte wählen Sie mindestens eine Farbe aus</translation>
    </message>
    <message>
        <source>unknown placeholder %1</source>
        <translation>einen unbekannten Platzhalter %1</translation>
    </message>
    <message>
        <source>unmatched %1 at character %2</source>
        <translation>eine einzelne Klammer %1 an Stelle %2</translation>
    </message>
    <message>
        <source>cannot fit in %1 characters; the shortest form needs %2</source>
        <translation>passt nicht in %1 Zeichen; die kürzeste Form braucht %2</translation>
    </message>
    <message>
        <source>1 character per colour, %1 of %2</source>
        <translation>1 Zeichen je Farbe, %1 von %2</translation>
    </message>
    <message>
        <source>%1 characters per colour, %2 of %3</source>
        <translation>%1 Zeichen je Farbe, %2 von %3</translation>
    </message>
</context>
<context>
    <name>tintwave::palette</name>
    <message>
        <source>&amp;Photoshop Gradients</source>
        <translation>&amp;Photoshop-Verläufe</translation>
    </message>
    <message>
        <source>&amp;Black/White/Gray</source>
        <translation>Sch&amp;warz/Weiß/Grau</translation>
    </message>
    <message>
        <source>Blue/&amp;Green</source>
        <translation>&amp;Blau/Grün</translation>
    </message>
    <message>
        <source>&amp;Orange/Red/Yellow</source>
        <translation>&amp;Orange/Rot/Gelb</translation>
    </message>
    <message>
        <source>&amp;Misc.</source>
        <translation>So&amp;nstige</translation>
    </message>
</context>
<context>
    <name>tintwave::platform::QSettingsStore</name>
    <message>
        <source>The settings file &quot;%1&quot; is damaged and could not be copied aside, so nothing was saved to it.</source>
        <translation>Die Einstellungsdatei „%1“ ist beschädigt, und es ließ sich keine Kopie von ihr anlegen. Daher wurde nichts in ihr gespeichert.</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; was damaged and could not be read completely. A copy of it was kept as &quot;%2&quot;; Tintwave goes on with the settings it could read.</source>
        <translation>Die Einstellungsdatei „%1“ war beschädigt und ließ sich nicht vollständig lesen. Eine Kopie von ihr liegt unter „%2“; Tintwave arbeitet mit den lesbaren Einstellungen weiter.</translation>
    </message>
    <message>
        <source>Tintwave could not save its settings to &quot;%1&quot;: the file or its folder cannot be written.</source>
        <translation>Tintwave konnte seine Einstellungen nicht in „%1“ speichern: Die Datei oder ihr Ordner ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>Tintwave could not change its settings: another running copy kept &quot;%1&quot; locked. Nothing was changed.</source>
        <translation>Tintwave konnte seine Einstellungen nicht ändern: Eine andere laufende Instanz hielt „%1“ gesperrt. Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; is damaged; Tintwave reads what it can and leaves the file as it is.</source>
        <translation>Die Einstellungsdatei „%1“ ist beschädigt; Tintwave liest, was lesbar ist, und lässt die Datei, wie sie ist.</translation>
    </message>
</context>
</TS>
