#include "cli/CommandLine.h"

// The text of --help, in a file of its own: it is long, and the parsing beside it is not.
namespace tintwave::cli {

namespace {

constexpr auto kHelp = R"(Usage: tintwave-cli [options]
Turns a text into code in which every character has its own colour, running
as a gradient through up to ten colour slots: HTML font tags (the default),
HTML5 spans, BBCode, terminal colour (24-bit, 256, 16 or 8 colours), Minecraft
colour codes, MiniMessage, JSON text components, Discord and IRC chat colours or
a template of your own; as one line or as frames of a moving gradient.

Text:
  --text TEXT          The text to colour. Without it, all of standard input is
                       read as UTF-8 (invalid byte sequences become U+FFFD) and
                       one final line break (LF or CR LF) is removed.

Colours (slots 0 to 9; empty slots are skipped):
  --colors LIST        Up to ten comma-separated entries for slots 0, 1, ...:
                       #RRGGBB (hex digits in either case), or nothing for an
                       empty slot. Slots after the last entry are empty.
                       Example: --colors '#000000,,,,,#FFFFFF'
  --scheme NAME        The colours of the preset scheme named NAME (its menu
                       caption without "&", e.g. Spectrum), otherwise of the
                       first user scheme titled exactly NAME. Not together
                       with --colors.
  --list-schemes       Print the preset scheme names in menu order, then the
                       user scheme titles, one per line, and exit.
  Without --colors or --scheme every slot is empty.

Font and style:
  --face FACE          Font face, or None (default). Must not contain " < or >.
  --size SIZE          Relative size: None (default), +1 ... +7 or -1 ... -7.
  --bold               Bold.
  --italic             Italic.
  --underline          Underlined.
  --no-center          Do not centre the text (it is centred by default).
  --strikethrough      Struck through.
  --obfuscated         Obfuscated (scrambled in the game): only with mc-hex,
                       mc-x, mc-section, minimessage, minimessage-gradient and
                       json.

Format and gradient:
  --format FORMAT      font (default): HTML font tags, one per character, the
                       text as it is. span: HTML5, <span style="color:..."> per
                       character, the text escaped, the styles as CSS. bbcode:
                       [color=...] for forums. ansi: 24-bit colour escape
                       sequences for terminals. mc-hex: Minecraft &#RRGGBB.
                       mc-x: Minecraft &x&R&R&G&G&B&B. mc-section: the same
                       with the section sign (U+00A7) instead of &.
                       minimessage: <#RRGGBB> tags. minimessage-gradient:
                       MiniMessage <gradient:#RRGGBB:#RRGGBB> segments, the
                       colours worked out by the server (short code). json:
                       Minecraft JSON text components. template: the text of
                       --template. The three Minecraft code formats leave out
                       a section sign (U+00A7) of the text.
                       discord: an ansi code block in Discord's 8 colours.
                       irc: mIRC colour codes in the 16 colours all IRC
                       clients show alike.
                       From ansi on, the formats ignore --face, --size and
                       --no-center; --bold, --italic and --underline apply
                       (to template only as its text writes them; discord
                       has no italic).
  --template TEXT      With --format template: what is written per character
                       (or run): {c} the character, {hex} RRGGBB, {h1} ...
                       {h6} those six digits one by one, {r} {g} {b} the
                       components 0-255, {{ and }} a brace.
                       Example: --template '&#{hex}&l{c}'
  --blend BLEND        rgb (default): the classic component arithmetic.
                       oklab: a perceptual blend without muddy midpoints.
                       oklch: perceptual, the hue along the shorter arc.
  --spread SPREAD      classic (default): the last colour is only approached.
                       even: the first character has the first colour and the
                       last character exactly the last.
  --merge              One tag or escape sequence per run of characters of the
                       same colour (shorter output). Not with --format font.
  --skip-blanks        White space gets no colour code of its own and shows the
                       colour before it (shorter output; the other characters
                       keep their colours). Not with --format font.
  --per-line           Start the gradient afresh on every line of the text.
                       Not with --format font.

Fitting to a length:
  --step K             Each run of K characters of a line (default 1) takes one
                       colour, that of its middle character, and is written as
                       one run. Not with --format font.
  --max-length N       Keep the code (without its final line break) to at most
                       N UTF-16 code units, as the game counts (irc: N bytes,
                       as a server counts): runs are merged and the smallest
                       step that fits is taken, named on standard error ("3
                       characters per colour, 251 of 256"). Common limits:
                       chat 256, sign line 384, anvil 50, a Discord message
                       2000, an IRC line about 400. Not with --format font or
                       --step.

Terminals and animation:
  --color-depth DEPTH  With --format ansi: 24 (default), any colour. 256:
                       xterm's colour cube and grey ramp. 16 or 8: the basic
                       terminal colours. Each character takes the nearest by
                       OKLab distance. auto: 24 when COLORTERM is truecolor or
                       24bit, else 256 when TERM contains 256color, else 16.
  --frames N           Write N lines (2 to 1000) for animation plugins: line j
                       is the gradient moved on by j/N of a cycle through the
                       colours and back to the first. Each line is a whole
                       code (tags closed, a JSON array of its own); discord
                       keeps them in one block. Not with --format font, nor
                       with a text of more than one line.
  --animate SECONDS    With --format ansi, on a terminal: redraw the line in
                       place, 20 frames a second, for SECONDS (0: until
                       interrupted), the cursor hidden meanwhile and restored
                       with the colours at the end. --frames sets the frames of
                       a cycle (default 40). When standard output is not a
                       terminal the code is written once, as without it.

Line breaks (LF, CR LF or CR) take no place in the gradient and are written as
each format's own: <br> and LF for span, a {"text":"\n"} component for json,
a reset and LF for ansi, LF for the others. With --format font they are
characters like any other.

Reading a code back:
  --decode             The text (from --text or standard input) is a coloured
                       code: read it and write the same characters, colours
                       and styles in --format (default font). Face, size and
                       centring come from the code where it has them (font,
                       span, bbcode), else from --face, --size, --no-center;
                       the styles are the code's and any given. --merge,
                       --skip-blanks, --page and --color-depth apply;
                       --colors, --scheme, --blend, --spread, --per-line,
                       --step, --max-length, --frames and --animate do not.
  --from FORMAT        The format of the code: auto (default: told apart by
                       its syntax, named on standard error when the code also
                       looks like another), font, span, bbcode, ansi (24-bit,
                       256 and 16 colours), mc-hex, mc-x, mc-section (also
                       the legacy &0-&f and style codes), minimessage (named
                       colours and <gradient> too), json, discord (the ```ansi
                       block, in Discord's eight colours) or irc (mIRC colours
                       00-98).
  --palette            With --decode: print instead the options that make the
                       same colours, --colors '...' --blend B --spread S, on
                       one line. For a code Tintwave made they make the same
                       code again; otherwise they are the best fit with up to
                       ten colours, and standard error gives the largest
                       difference per channel.

Output:
  --page               Write the whole HTML page (Windows-1252, CR LF line ends;
                       characters outside Windows-1252 as &#NNN; references)
                       instead of the code line. Only with --format font or
                       span.
  --background COLOR   Page background as #RRGGBB (default #FFFFFF). Only with
                       --page.
  -o, --output FILE    Write to FILE instead of standard output. FILE is
                       replaced only once everything has been written; a
                       FIFO, device or /dev/stdout is written into as it is.
                       '-' means standard output.
  -h, --help           Show this help and exit.
  --version            Show the version and exit.

The code is written as UTF-8, followed by one LF.

Examples:
  tintwave-cli --text Hello --colors '#FF0000,#0000FF'
  tintwave-cli --text Hello --scheme Spectrum --format span --spread even
  tintwave-cli --text 'Hi [all]' --colors '#FF8000,#8000FF' --format bbcode
  tintwave-cli --scheme Copper --format ansi --blend oklab --merge < notes.txt
  tintwave-cli --text Hello --scheme Spectrum --format span --page -o hello.html
  tintwave-cli --text 'My Server' --scheme Spectrum --format mc-hex --bold
  tintwave-cli --text 'Welcome!' --colors '#FF8000,#8000FF' --format minimessage
  tintwave-cli --text Hi --colors '#FF0000,#0000FF' --format json --merge
  tintwave-cli --text Hi --scheme Copper --format template \
      --template '[c/{hex}:{c}]'
  printf 'One\nTwo\n' | tintwave-cli --scheme Spectrum --format mc-x --per-line
  tintwave-cli --text Hello --scheme Spectrum --format ansi --color-depth auto
  tintwave-cli --text 'Hi all' --colors '#FF0000,#0000FF' --format discord
  tintwave-cli --text 'Hi all' --colors '#FF0000,#0000FF' --format irc --bold
  tintwave-cli --text 'My Server' --scheme Spectrum --format mc-hex --frames 10
  tintwave-cli --text Loading --scheme Spectrum --format ansi --animate 5
  tintwave-cli --decode --text '&#FF0000H&#0000FFi' --format minimessage
  tintwave-cli --decode --palette < motd.txt
  tintwave-cli --text 'Welcome to the server!' --scheme Spectrum \
      --format minimessage-gradient --blend oklab
  tintwave-cli --text 'Welcome to the server!' --scheme Spectrum \
      --format mc-hex --max-length 256 --strikethrough

Exit status:
  0  success
  1  nothing to colour: "You must type something." or "You must select at
     least one color" on standard error, nothing written; with --decode also
     a code that cannot be read (its format unknown, or broken: "not valid
     json at character 17: ..."), nothing written; or, with
     --max-length, "cannot fit in N characters; the shortest form needs M"
  2  a usage error or output that cannot be written, named in one line on
     standard error
  128+N  --animate stopped by signal N (130 for Ctrl+C), terminal restored
)";

} // namespace

QString helpText() {
    return QString::fromUtf8(kHelp);
}

} // namespace tintwave::cli
