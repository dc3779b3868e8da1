<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE">
<context>
    <name>ActionTitle</name>
    <message>
        <source>“%1”</source>
        <comment>a quoted text</comment>
        <translation>”%1”</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n fil</numerusform>
            <numerusform>%n filer</numerusform>
        </translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Öppna %1</translation>
    </message>
    <message>
        <source>Open %1 at line %2</source>
        <translation>Öppna %1 på rad %2</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 i %2</translation>
    </message>
    <message>
        <source>Show in file manager</source>
        <translation>Visa i filhanteraren</translation>
    </message>
    <message>
        <source>Search the web for %1</source>
        <translation>Sök efter %1 på webben</translation>
    </message>
    <message>
        <source>Find files named %1</source>
        <translation>Hitta filer som heter %1</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Klistra in</translation>
    </message>
    <message>
        <source>Paste %1</source>
        <translation>Klistra in %1</translation>
    </message>
    <message>
        <source>Copy the path</source>
        <translation>Kopiera sökvägen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopiera</translation>
    </message>
    <message>
        <source>Copy %1</source>
        <translation>Kopiera %1</translation>
    </message>
    <message>
        <source>Run %1</source>
        <translation>Kör %1</translation>
    </message>
    <message>
        <source>Run the command</source>
        <translation>Kör kommandot</translation>
    </message>
    <message>
        <source>Search %1 for %2</source>
        <translation>Sök efter %2 på %1</translation>
    </message>
    <message numerus="yes">
        <source>Copy %n paths</source>
        <translation>
            <numerusform>Kopiera %n sökväg</numerusform>
            <numerusform>Kopiera %n sökvägar</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PanelHeader</name>
    <message>
        <source>Nothing recognised</source>
        <translation>Inget känt igen</translation>
    </message>
    <message numerus="yes">
        <source>%n web addresses</source>
        <translation>
            <numerusform>%n webbadress</numerusform>
            <numerusform>%n webbadresser</numerusform>
        </translation>
    </message>
    <message>
        <source>Web address</source>
        <translation>Webbadress</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Kommando</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n fil</numerusform>
            <numerusform>%n filer</numerusform>
        </translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fil</translation>
    </message>
    <message>
        <source>Calculation</source>
        <translation>Beräkning</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, rad %2</translation>
    </message>
</context>
<context>
    <name>PluginDescription</name>
    <message>
        <source>Words</source>
        <translation>Ord</translation>
    </message>
    <message>
        <source>Takes a text of one line as words to look up.</source>
        <translation>Tar en text på en rad som ord att slå upp.</translation>
    </message>
    <message>
        <source>Calculator (bc)</source>
        <translation>Miniräknare (bc)</translation>
    </message>
    <message>
        <source>Works out sums such as 2*(3+4) with bc.</source>
        <translation>Räknar ut uttryck som 2*(3+4) med bc.</translation>
    </message>
    <message>
        <source>Web addresses</source>
        <translation>Webbadresser</translation>
    </message>
    <message>
        <source>Finds web addresses in the text, to open them.</source>
        <translation>Hittar webbadresser i texten för att öppna dem.</translation>
    </message>
    <message>
        <source>File paths</source>
        <translation>Filsökvägar</translation>
    </message>
    <message>
        <source>Finds files and folders, and the line in main.c:42.</source>
        <translation>Hittar filer och mappar, och raden i main.c:42.</translation>
    </message>
    <message>
        <source>Backticked commands</source>
        <translation>Kommandon inom bakåtfnuttar</translation>
    </message>
    <message>
        <source>Offers to run a `command`; a guess never runs it.</source>
        <translation>Erbjuder att köra ett `kommando`; en gissning kör det aldrig.</translation>
    </message>
    <message>
        <source>Desktop file search</source>
        <translation>Skrivbordets filsökning</translation>
    </message>
    <message>
        <source>Finds a partial path in the desktop&apos;s file index.</source>
        <translation>Hittar en del av en sökväg i skrivbordets filindex.</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Kör</translation>
    </message>
    <message>
        <source>Runs a backticked command and offers what it printed.</source>
        <translation>Kör ett kommando inom bakåtfnuttar och erbjuder det som skrevs ut.</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Klistra in</translation>
    </message>
    <message>
        <source>Pastes a result, such as a sum, into your window.</source>
        <translation>Klistrar in ett resultat, till exempel en summa, i ditt fönster.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öppna</translation>
    </message>
    <message>
        <source>Opens files and addresses in their usual program.</source>
        <translation>Öppnar filer och adresser i deras vanliga program.</translation>
    </message>
    <message>
        <source>Show in file manager</source>
        <translation>Visa i filhanteraren</translation>
    </message>
    <message>
        <source>Shows a file in its folder in the file manager.</source>
        <translation>Visar en fil i dess mapp i filhanteraren.</translation>
    </message>
    <message>
        <source>Web search</source>
        <translation>Webbsökning</translation>
    </message>
    <message>
        <source>Looks words up with the engine set on the Search page.</source>
        <translation>Slår upp ord med sökmotorn som anges på sidan Sökning.</translation>
    </message>
    <message>
        <source>Find files</source>
        <translation>Hitta filer</translation>
    </message>
    <message>
        <source>Finds files named like the words with the desktop search.</source>
        <translation>Hittar filer som heter som orden med skrivbordets sökning.</translation>
    </message>
    <message>
        <source>Open at line</source>
        <translation>Öppna vid rad</translation>
    </message>
    <message>
        <source>Opens a file in your editor at the given line.</source>
        <translation>Öppnar en fil i din redigerare vid den angivna raden.</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopiera</translation>
    </message>
    <message>
        <source>Puts a result, a path or an address on the clipboard.</source>
        <translation>Lägger ett resultat, en sökväg eller en adress på urklipp.</translation>
    </message>
    <message>
        <source>Built in</source>
        <translation>Inbyggd</translation>
    </message>
    <message>
        <source>Another built-in part</source>
        <translation>En annan inbyggd del</translation>
    </message>
    <message>
        <source>Perl plug-in</source>
        <translation>Perl-insticksmodul</translation>
    </message>
    <message>
        <source>Shell plug-in</source>
        <translation>Skal-insticksmodul</translation>
    </message>
    <message>
        <source>Handler script</source>
        <translation>Hanterarskript</translation>
    </message>
    <message>
        <source>Plug-in</source>
        <translation>Insticksmodul</translation>
    </message>
    <message>
        <source>In %1</source>
        <translation>I %1</translation>
    </message>
    <message>
        <source>Rule for %1</source>
        <translation>Regel för %1</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Regel</translation>
    </message>
    <message>
        <source>Sets %1 when its expression matches.</source>
        <translation>Sätter %1 när dess uttryck matchar.</translation>
    </message>
</context>
<context>
    <name>glimra::ActionListModel</name>
    <message>
        <source>running…</source>
        <translation>körs…</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>misslyckades: %1</translation>
    </message>
</context>
<context>
    <name>glimra::AppDelegate</name>
    <message>
        <source>no context</source>
        <translation>inget sammanhang</translation>
    </message>
    <message>
        <source>no application is active</source>
        <translation>inget program är aktivt</translation>
    </message>
    <message>
        <source>the selection seems to be empty</source>
        <translation>markeringen verkar vara tom</translation>
    </message>
    <message>
        <source>guessing...</source>
        <translation>gissar…</translation>
    </message>
    <message>
        <source>the selection seems to be empty, returning front-most document path</source>
        <translation>markeringen verkar vara tom; använder sökvägen till det främsta dokumentet</translation>
    </message>
    <message>
        <source>the selection seems to be empty, returning front-most document URL</source>
        <translation>markeringen verkar vara tom; använder adressen till det främsta dokumentet</translation>
    </message>
    <message>
        <source>got it</source>
        <translation>klart</translation>
    </message>
    <message>
        <source>looks like %1</source>
        <translation>ser ut som %1</translation>
    </message>
</context>
<context>
    <name>glimra::AutostartEntry</name>
    <message>
        <source>%1 cannot be removed</source>
        <translation>%1 kan inte tas bort</translation>
    </message>
    <message>
        <source>the desktop entry %1 is nowhere to be found</source>
        <translation>skrivbordsfilen %1 finns ingenstans</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kan inte skrivas: %2</translation>
    </message>
</context>
<context>
    <name>glimra::BindingChange</name>
    <message>
        <source>&quot;%1&quot; names no key GNOME can bind</source>
        <translation>”%1” anger ingen tangent som GNOME kan binda</translation>
    </message>
    <message>
        <source>Bound %1 in GNOME&apos;s custom keyboard shortcuts.</source>
        <translation>Band %1 i GNOME:s egna kortkommandon.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> och </translation>
    </message>
    <message>
        <source>Glimra has bound nothing in GNOME.</source>
        <translation>Glimra har inte bundit något i GNOME.</translation>
    </message>
    <message>
        <source>Glimra&apos;s shortcuts are no longer bound in GNOME.</source>
        <translation>Glimras kortkommandon är inte längre bundna i GNOME.</translation>
    </message>
    <message>
        <source>bind %1 to run `%2`</source>
        <translation>bind %1 till att köra `%2`</translation>
    </message>
    <message>
        <source>, and </source>
        <translation> och </translation>
    </message>
    <message>
        <source>Glimra cannot bind keys on this desktop; in its settings, %1.</source>
        <translation>Glimra kan inte binda tangenter på det här skrivbordet; i dess inställningar, %1.</translation>
    </message>
    <message>
        <source>Glimra wrote no binding on this desktop; remove the keys you bound in its settings.</source>
        <translation>Glimra skrev ingen bindning på det här skrivbordet; ta bort tangenterna du band i dess inställningar.</translation>
    </message>
    <message>
        <source> Reload sway (swaymsg reload) for it to take effect: %1.</source>
        <translation> Läs om swayinställningarna (swaymsg reload) för att ändringen ska gälla: %1.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names no key sway can bind</source>
        <translation>”%1” anger ingen tangent som sway kan binda</translation>
    </message>
    <message>
        <source>sway runs its system configuration: a configuration of your own would hide it, so Glimra wrote nothing. Add these lines to your sway configuration (~/.config/sway/config, made from a copy of /etc/sway/config), then reload sway:</source>
        <translation>sway kör systemets inställningar: egna inställningar skulle dölja dem, så Glimra skrev ingenting. Lägg till de här raderna i dina swayinställningar (~/.config/sway/config, gjord av en kopia av /etc/sway/config) och läs sedan om dem:</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>kan inte läsa %1</translation>
    </message>
    <message>
        <source>Already bound in %1 (included from %2).</source>
        <translation>Redan bundna i %1 (inkluderad från %2).</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>kan inte skriva %1</translation>
    </message>
    <message>
        <source>cannot add the include line to %1</source>
        <translation>kan inte lägga till include-raden i %1</translation>
    </message>
    <message>
        <source>Bound in %1 (included from %2).</source>
        <translation>Bundna i %1 (inkluderad från %2).</translation>
    </message>
    <message>
        <source>Glimra has bound nothing in sway.</source>
        <translation>Glimra har inte bundit något i sway.</translation>
    </message>
    <message>
        <source>cannot take the include line out of %1</source>
        <translation>kan inte ta bort include-raden ur %1</translation>
    </message>
    <message>
        <source>cannot remove %1</source>
        <translation>kan inte ta bort %1</translation>
    </message>
    <message>
        <source>Glimra&apos;s shortcuts are no longer bound in sway.</source>
        <translation>Glimras kortkommandon är inte längre bundna i sway.</translation>
    </message>
</context>
<context>
    <name>glimra::Capability</name>
    <message>
        <source>no X display answers ($DISPLAY): run Glimra in the desktop session</source>
        <translation>ingen X-skärm svarar ($DISPLAY): kör Glimra i skrivbordssessionen</translation>
    </message>
    <message>
        <source>clipboard</source>
        <translation>urklipp</translation>
    </message>
    <message>
        <source>X11 CLIPBOARD selection (Xwayland)</source>
        <translation>X11-markeringen CLIPBOARD (Xwayland)</translation>
    </message>
    <message>
        <source>front application</source>
        <translation>främsta programmet</translation>
    </message>
    <message>
        <source>_NET_ACTIVE_WINDOW (X11 window manager)</source>
        <translation>_NET_ACTIVE_WINDOW (X11-fönsterhanteraren)</translation>
    </message>
    <message>
        <source>keystroke</source>
        <translation>tangenttryckning</translation>
    </message>
    <message>
        <source>xdotool is not installed: install it for the copy and paste keystrokes</source>
        <translation>xdotool är inte installerat: installera det för tangenttryckningarna som kopierar och klistrar in</translation>
    </message>
    <message>
        <source>selection</source>
        <translation>markering</translation>
    </message>
    <message>
        <source>X11 PRIMARY selection</source>
        <translation>X11-markeringen PRIMARY</translation>
    </message>
    <message>
        <source>X11 CLIPBOARD selection</source>
        <translation>X11-markeringen CLIPBOARD</translation>
    </message>
    <message>
        <source>shortcut</source>
        <translation>kortkommando</translation>
    </message>
    <message>
        <source>X11 key grab (the running Glimra)</source>
        <translation>X11-tangentgrepp (det körande Glimra)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>inget</translation>
    </message>
    <message>
        <source>answered</source>
        <translation>svarade</translation>
    </message>
    <message>
        <source>did not answer</source>
        <translation>svarade inte</translation>
    </message>
    <message>
        <source>%1: %2, %3</source>
        <translation>%1: %2, %3</translation>
    </message>
    <message>
        <source>; %1</source>
        <translation>; %1</translation>
    </message>
    <message>
        <source>this compositor&apos;s data control has no primary selection: select, copy and use the clipboard guess</source>
        <translation>den här kompositorns datakontroll har ingen primärmarkering: markera, kopiera och gissa urklippet</translation>
    </message>
    <message>
        <source>the XWayland bridge (X11 selections)</source>
        <translation>XWayland-bryggan (X11-markeringar)</translation>
    </message>
    <message>
        <source>GNOME runs without Xwayland here: enable it to let Glimra read selections</source>
        <translation>GNOME körs utan Xwayland här: slå på det så att Glimra kan läsa markeringar</translation>
    </message>
    <message>
        <source>this compositor lets no program read the selection without the focus: copy it (Ctrl+C) and use the clipboard guess</source>
        <translation>den här kompositorn låter inget program läsa markeringen utan fokus: kopiera den (Ctrl+C) och gissa urklippet</translation>
    </message>
    <message>
        <source>sway&apos;s IPC</source>
        <translation>sways IPC</translation>
    </message>
    <message>
        <source>KWin shows its window list only to the installed Glimra (its desktop entry names the protocols): run the installed program</source>
        <translation>KWin visar sin fönsterlista bara för det installerade Glimra (dess skrivbordsfil nämner protokollen): kör det installerade programmet</translation>
    </message>
    <message>
        <source>GNOME tells no program which native window is in front (X11 windows are known): the guess runs on the selection alone</source>
        <translation>GNOME berättar för inget program vilket eget fönster som är främst (X11-fönster är kända): gissningen görs på markeringen ensam</translation>
    </message>
    <message>
        <source>this compositor tells no program which window is in front: the guess runs on the selection alone</source>
        <translation>den här kompositorn berättar för inget program vilket fönster som är främst: gissningen görs på markeringen ensam</translation>
    </message>
    <message>
        <source>KWin lets only the installed Glimra type (its desktop entry names the protocols): run the installed program</source>
        <translation>KWin låter bara det installerade Glimra skriva (dess skrivbordsfil nämner protokollen): kör det installerade programmet</translation>
    </message>
    <message>
        <source>this desktop lets no program type into native windows: paste puts the text on the clipboard; press Ctrl+V</source>
        <translation>det här skrivbordet låter inget program skriva i egna fönster: klistra in lägger texten på urklipp; tryck Ctrl+V</translation>
    </message>
    <message>
        <source>no GlobalShortcuts portal on this desktop; run `glimra shortcut install` to bind %1 in %2</source>
        <translation>ingen GlobalShortcuts-portal på det här skrivbordet; kör `glimra shortcut install` för att binda %1 i %2</translation>
    </message>
    <message>
        <source>no GlobalShortcuts portal on this desktop; bind %1 to `glimra guess` in its settings</source>
        <translation>ingen GlobalShortcuts-portal på det här skrivbordet; bind %1 till `glimra guess` i dess inställningar</translation>
    </message>
    <message>
        <source>GNOME&apos;s custom keyboard shortcuts</source>
        <translation>GNOME:s egna kortkommandon</translation>
    </message>
    <message>
        <source>the desktop&apos;s own settings</source>
        <translation>skrivbordets egna inställningar</translation>
    </message>
    <message>
        <source>sway&apos;s configuration</source>
        <translation>sways konfiguration</translation>
    </message>
</context>
<context>
    <name>glimra::ContextPage</name>
    <message>
        <source>Key</source>
        <translation>Nyckel</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Värde</translation>
    </message>
    <message>
        <source>These entries are added to every guess before the selection&apos;s own facts. Plug-ins read them; CTX_DIRx keeps desktop-search hits inside one folder.</source>
        <translation>De här posterna läggs till i varje gissning före markeringens egna uppgifter. Insticksprogram läser dem; CTX_DIRx håller skrivbordssökningens träffar inom en mapp.</translation>
    </message>
    <message>
        <source>Entries added to every guess</source>
        <translation>Poster som läggs till i varje gissning</translation>
    </message>
</context>
<context>
    <name>glimra::CopySelection</name>
    <message>
        <source>did not hand over its selection within %1 s</source>
        <translation>lämnade inte över sin markering inom %1 s</translation>
    </message>
    <message>
        <source>could not be asked to copy: the clipboard cannot be kept (%1)</source>
        <translation>kunde inte ombes kopiera: urklippet kan inte bevaras (%1)</translation>
    </message>
</context>
<context>
    <name>glimra::DesktopApplication</name>
    <message>
        <source>shortcut unavailable</source>
        <translation>kortkommandot går inte att använda</translation>
    </message>
    <message>
        <source>%1 cannot be used: %2. Glimra runs on without it.</source>
        <translation>%1 kan inte användas: %2. Glimra fortsätter utan det.</translation>
    </message>
    <message>
        <source>Guess selection</source>
        <translation>Gissa markeringen</translation>
    </message>
    <message>
        <source>Guess clipboard</source>
        <translation>Gissa urklippet</translation>
    </message>
    <message>
        <source>Show results</source>
        <translation>Visa resultaten</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Senaste</translation>
    </message>
    <message>
        <source>Refresh plug-ins</source>
        <translation>Läs om insticksprogrammen</translation>
    </message>
    <message>
        <source>New matcher…</source>
        <translation>Ny igenkännare…</translation>
    </message>
    <message>
        <source>New action…</source>
        <translation>Ny åtgärd…</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Inställningar…</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Handbok</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Åtgärder</translation>
    </message>
    <message>
        <source>About Glimra</source>
        <translation>Om Glimra</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Avsluta</translation>
    </message>
    <message>
        <source>No guesses yet</source>
        <translation>Inga gissningar än</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Töm</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Glimra %1&lt;/h3&gt;&lt;p&gt;Guesses what you have selected and offers what can be done with it.&lt;/p&gt;&lt;p&gt;Update feed: %2&lt;br&gt;Glimra is updated by its package; nothing is fetched from the feed.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Glimra %1&lt;/h3&gt;&lt;p&gt;Gissar vad du har markerat och erbjuder vad som kan göras med det.&lt;/p&gt;&lt;p&gt;Uppdateringsflöde: %2&lt;br&gt;Glimra uppdateras genom sitt paket; inget hämtas från flödet.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>off</source>
        <translation>av</translation>
    </message>
    <message>
        <source>Glimra
Guess the selection: %1
Guess the clipboard: %2</source>
        <translation>Glimra
Gissa markeringen: %1
Gissa urklipp: %2</translation>
    </message>
</context>
<context>
    <name>glimra::FileListModel</name>
    <message>
        <source>%1, line %2</source>
        <translation>%1, rad %2</translation>
    </message>
    <message>
        <source>%1, line %2, column %3</source>
        <translation>%1, rad %2, kolumn %3</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Namn</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Plats</translation>
    </message>
</context>
<context>
    <name>glimra::FileTableView</name>
    <message>
        <source>Open</source>
        <translation>Öppna</translation>
    </message>
    <message>
        <source>Reveal</source>
        <translation>Visa i filhanteraren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopiera</translation>
    </message>
</context>
<context>
    <name>glimra::GeneralPage</name>
    <message>
        <source>&amp;Hide the panel after an action has run</source>
        <translation>&amp;Dölj panelen när en åtgärd har körts</translation>
    </message>
    <message>
        <source>Open the panel at the &amp;mouse pointer</source>
        <translation>Öppna panelen vid &amp;muspekaren</translation>
    </message>
    <message>
        <source>&amp;Order actions by what I use</source>
        <translation>&amp;Ordna åtgärderna efter vad jag använder</translation>
    </message>
    <message>
        <source>&amp;Forget</source>
        <translation>&amp;Glöm</translation>
    </message>
    <message>
        <source>&amp;Start Glimra when I log in</source>
        <translation>&amp;Starta Glimra när jag loggar in</translation>
    </message>
    <message>
        <source>Panel:</source>
        <translation>Panel:</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> MiB</translation>
    </message>
    <message>
        <source>Glimra guesses the beginning of a longer selection and says it was cut.</source>
        <translation>Av en längre markering gissar Glimra början och säger att den kortades.</translation>
    </message>
    <message>
        <source>at most; a longer one is cut</source>
        <translation>som mest; en längre kortas</translation>
    </message>
    <message>
        <source>Read of a se&amp;lection:</source>
        <translation>Läs av en &amp;markering:</translation>
    </message>
    <message>
        <source>The actions you pick more often for a kind of selection come first.</source>
        <translation>De åtgärder du oftare väljer för ett slags markering kommer först.</translation>
    </message>
    <message>
        <source>Forget which actions you picked: the usual order holds again.</source>
        <translation>Glöm vilka åtgärder du har valt: den vanliga ordningen gäller igen.</translation>
    </message>
    <message>
        <source>Actions:</source>
        <translation>Åtgärder:</translation>
    </message>
    <message>
        <source>Session:</source>
        <translation>Session:</translation>
    </message>
    <message>
        <source>Start at login</source>
        <translation>Start vid inloggning</translation>
    </message>
    <message>
        <source>Guess the &amp;selection:</source>
        <translation>Gissa &amp;markeringen:</translation>
    </message>
    <message>
        <source>Guess the &amp;clipboard:</source>
        <translation>Gissa &amp;urklippet:</translation>
    </message>
    <message>
        <source>Forgotten.</source>
        <translation>Glömt.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Glöm</translation>
    </message>
    <message>
        <source>Not stored: %1.</source>
        <translation>Inte sparat: %1.</translation>
    </message>
    <message>
        <source>Not available: %1.</source>
        <translation>Inte tillgängligt: %1.</translation>
    </message>
    <message>
        <source>&amp;Bind in the desktop&apos;s settings</source>
        <translation>&amp;Bind i skrivbordets inställningar</translation>
    </message>
    <message>
        <source>Where the desktop lets no program take a shortcut, Glimra writes the two shortcuts into the desktop&apos;s own settings: what “glimra shortcut install” does.</source>
        <translation>Där skrivbordet inte låter något program ta ett kortkommando skriver Glimra de två kortkommandona i skrivbordets egna inställningar: det som ”glimra shortcut install” gör.</translation>
    </message>
    <message>
        <source>Desktop:</source>
        <translation>Skrivbord:</translation>
    </message>
    <message>
        <source>Not bound: %1</source>
        <translation>Inte bundet: %1</translation>
    </message>
    <message>
        <source>Check a&amp;gain</source>
        <translation>Kontrollera i&amp;gen</translation>
    </message>
    <message>
        <source>Tries each way Glimra reaches the desktop, as “glimra doctor” does.</source>
        <translation>Prövar varje väg Glimra når skrivbordet, som ”glimra doctor” gör.</translation>
    </message>
    <message>
        <source>What the desktop offers:</source>
        <translation>Vad skrivbordet erbjuder:</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Kontrollerar…</translation>
    </message>
</context>
<context>
    <name>glimra::IntroPanel</name>
    <message>
        <source>Glimra Help</source>
        <translation>Hjälp för Glimra</translation>
    </message>
    <message>
        <source>&amp;Manual</source>
        <translation>&amp;Handbok</translation>
    </message>
    <message>
        <source>&amp;Actions</source>
        <translation>&amp;Åtgärder</translation>
    </message>
    <message>
        <source>The document %1 cannot be read.</source>
        <translation>Dokumentet %1 kan inte läsas.</translation>
    </message>
    <message>
        <source>Plug-in actions installed now</source>
        <translation>Åtgärder från insticksprogram som är installerade nu</translation>
    </message>
    <message>
        <source>None yet. `glimra plugins new action NAME` starts one.</source>
        <translation>Inga än. `glimra plugins new action NAMN` påbörjar en.</translation>
    </message>
</context>
<context>
    <name>glimra::NewPluginDialog</name>
    <message>
        <source>New Matcher</source>
        <translation>Ny igenkännare</translation>
    </message>
    <message>
        <source>New Action</source>
        <translation>Ny åtgärd</translation>
    </message>
    <message>
        <source>Ticket (makes TicketMatcher)</source>
        <translation>Ticket (ger TicketMatcher)</translation>
    </message>
    <message>
        <source>Backup (makes BackupAction)</source>
        <translation>Backup (ger BackupAction)</translation>
    </message>
    <message>
        <source>Handler script (any language, .handler)</source>
        <translation>Hanterarskript (valfritt språk, .handler)</translation>
    </message>
    <message>
        <source>Perl (.pl)</source>
        <translation>Perl (.pl)</translation>
    </message>
    <message>
        <source>Korn shell (.sh)</source>
        <translation>Korn-skal (.sh)</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Namn:</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Sort:</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Skapa</translation>
    </message>
    <message>
        <source>New Plug-in</source>
        <translation>Nytt insticksprogram</translation>
    </message>
    <message>
        <source>%1 was made, but it cannot be opened: %2</source>
        <translation>%1 skapades, men den kan inte öppnas: %2</translation>
    </message>
</context>
<context>
    <name>glimra::Outcome</name>
    <message>
        <source>there is no clipboard to copy to (no display was found)</source>
        <translation>det finns inget urklipp att kopiera till (ingen skärm hittades)</translation>
    </message>
    <message>
        <source>there is nothing to copy</source>
        <translation>det finns inget att kopiera</translation>
    </message>
    <message>
        <source>there is no valid URL to open</source>
        <translation>det finns ingen giltig adress att öppna</translation>
    </message>
    <message>
        <source>there is no desktop to open it on</source>
        <translation>det finns inget skrivbord att öppna den på</translation>
    </message>
    <message>
        <source>the text has %1 lines, and a terminal may run each as a command: choose paste again to paste them</source>
        <translation>texten har %1 rader, och en terminal kan köra var och en som ett kommando: välj klistra in igen för att klistra in dem</translation>
    </message>
    <message>
        <source>the paste script cannot be loaded</source>
        <translation>skriptet som klistrar in kan inte läsas in</translation>
    </message>
    <message>
        <source>the text is on the clipboard: press %1 to paste it</source>
        <translation>texten ligger på urklipp: tryck %1 för att klistra in den</translation>
    </message>
    <message>
        <source>there is no clipboard</source>
        <translation>det finns inget urklipp</translation>
    </message>
    <message>
        <source>there is nothing to paste</source>
        <translation>det finns inget att klistra in</translation>
    </message>
    <message>
        <source>there is no desktop to reveal it on</source>
        <translation>det finns inget skrivbord att visa den på</translation>
    </message>
    <message>
        <source>the folder of %1 cannot be entered: it no longer exists</source>
        <translation>mappen för %1 går inte att öppna: den finns inte längre</translation>
    </message>
    <message>
        <source>the command did not end: %1</source>
        <translation>kommandot tog inte slut: %1</translation>
    </message>
    <message>
        <source>the command printed nothing</source>
        <translation>kommandot skrev inte ut något</translation>
    </message>
    <message>
        <source>the command printed nothing: %1</source>
        <translation>kommandot skrev inte ut något: %1</translation>
    </message>
    <message>
        <source>there is no desktop to search</source>
        <translation>det finns inget skrivbord att söka på</translation>
    </message>
    <message>
        <source>the words make no valid address</source>
        <translation>orden ger ingen giltig adress</translation>
    </message>
    <message>
        <source>no action was chosen</source>
        <translation>ingen åtgärd valdes</translation>
    </message>
    <message>
        <source>it was called wrongly</source>
        <translation>det anropades felaktigt</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>filen finns inte</translation>
    </message>
    <message>
        <source>no application is set up to open it</source>
        <translation>inget program är inställt för att öppna den</translation>
    </message>
    <message>
        <source>the application that opens it failed</source>
        <translation>programmet som öppnar den misslyckades</translation>
    </message>
    <message>
        <source>the search was stopped</source>
        <translation>sökningen avbröts</translation>
    </message>
    <message>
        <source>the file manager did not answer; %1</source>
        <translation>filhanteraren svarade inte; %1</translation>
    </message>
    <message>
        <source>no file manager offers to show a file; %1</source>
        <translation>ingen filhanterare erbjuder att visa en fil; %1</translation>
    </message>
    <message>
        <source>a newer search replaced it</source>
        <translation>en nyare sökning ersatte den</translation>
    </message>
    <message>
        <source>there is no file-name index (plocate is not installed), so only the home folder was searched</source>
        <translation>det finns inget filnamnsindex (plocate är inte installerat), så bara hemmappen söktes igenom</translation>
    </message>
    <message>
        <source>there is no file-name index yet (run updatedb), so only the home folder was searched</source>
        <translation>det finns inget filnamnsindex än (kör updatedb), så bara hemmappen söktes igenom</translation>
    </message>
    <message>
        <source>%1 could not be started (%2)</source>
        <translation>%1 kunde inte startas (%2)</translation>
    </message>
    <message>
        <source>%1 crashed</source>
        <translation>%1 kraschade</translation>
    </message>
    <message>
        <source>%1 exited with status %2</source>
        <translation>%1 avslutades med status %2</translation>
    </message>
    <message>
        <source>%1 exited with status %2: %3</source>
        <translation>%1 avslutades med status %2: %3</translation>
    </message>
    <message>
        <source>%1 cannot be loaded</source>
        <translation>%1 kan inte läsas in</translation>
    </message>
</context>
<context>
    <name>glimra::PluginsPage</name>
    <message>
        <source>Name</source>
        <translation>Namn</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>New &amp;Matcher…</source>
        <translation>Ny &amp;igenkännare…</translation>
    </message>
    <message>
        <source>New &amp;Action…</source>
        <translation>Ny &amp;åtgärd…</translation>
    </message>
    <message>
        <source>Show the &amp;Folder</source>
        <translation>Visa &amp;mappen</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Läs om</translation>
    </message>
    <message>
        <source>Matchers, in the order a guess runs them:</source>
        <translation>Igenkännare, i den ordning en gissning kör dem:</translation>
    </message>
    <message>
        <source>Actions, in the order they are offered:</source>
        <translation>Åtgärder, i den ordning de erbjuds:</translation>
    </message>
    <message>
        <source>%1 cannot be shown: %2</source>
        <translation>%1 kan inte visas: %2</translation>
    </message>
    <message>
        <source>there is no file manager</source>
        <translation>det finns ingen filhanterare</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Vad den gör</translation>
    </message>
</context>
<context>
    <name>glimra::PreferencesWindow</name>
    <message>
        <source>Glimra Preferences</source>
        <translation>Inställningar för Glimra</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>&amp;Allmänt</translation>
    </message>
    <message>
        <source>&amp;Rules</source>
        <translation>&amp;Regler</translation>
    </message>
    <message>
        <source>&amp;Context</source>
        <translation>&amp;Sammanhang</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>S&amp;ökning</translation>
    </message>
    <message>
        <source>&amp;Plug-ins</source>
        <translation>&amp;Insticksprogram</translation>
    </message>
    <message>
        <source>Not saved: %1</source>
        <translation>Inte sparat: %1</translation>
    </message>
</context>
<context>
    <name>glimra::ResultWindow</name>
    <message>
        <source>Glimra</source>
        <translation>Glimra</translation>
    </message>
    <message>
        <source>&amp;Actions</source>
        <translation>&amp;Åtgärder</translation>
    </message>
    <message>
        <source>&amp;Files</source>
        <translation>&amp;Filer</translation>
    </message>
    <message>
        <source>&amp;Why?</source>
        <translation>&amp;Varför?</translation>
    </message>
    <message>
        <source>; the selection was cut to its first %1 MiB</source>
        <translation>; markeringen kortades till sina första %1 MiB</translation>
    </message>
    <message>
        <source>For plug-in writers: how each matcher and action took part in this guess</source>
        <translation>För den som skriver insticksprogram: hur varje igenkännare och åtgärd deltog i den här gissningen</translation>
    </message>
    <message>
        <source>This guess was not explained.</source>
        <translation>Den här gissningen förklarades inte.</translation>
    </message>
    <message>
        <source>Showing what holds “%1”</source>
        <translation>Visar det som innehåller ”%1”</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Åtgärder</translation>
    </message>
    <message>
        <source>What can be done with the selection. Enter runs the chosen action, 1 to 9 run a row, typed letters narrow the list.</source>
        <translation>Det som kan göras med markeringen. Retur kör den valda åtgärden, 1 till 9 kör en rad, bokstäver du skriver smalnar av listan.</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Filer</translation>
    </message>
    <message>
        <source>The files the selection names and those a desktop search found. Enter opens the chosen file.</source>
        <translation>Filerna som markeringen nämner och de som en skrivbordssökning hittade. Retur öppnar den valda filen.</translation>
    </message>
    <message>
        <source>Why?</source>
        <translation>Varför?</translation>
    </message>
</context>
<context>
    <name>glimra::RuleKeyDelegate</name>
    <message>
        <source>a web address: Open, Copy</source>
        <translation>en webbadress: Öppna, Kopiera</translation>
    </message>
    <message>
        <source>a file or folder: Open, Show in file manager, Copy</source>
        <translation>en fil eller mapp: Öppna, Visa i filhanteraren, Kopiera</translation>
    </message>
    <message>
        <source>the line of that file: Open at line</source>
        <translation>raden i den filen: Öppna vid rad</translation>
    </message>
    <message>
        <source>several files, one a line: Open</source>
        <translation>flera filer, en per rad: Öppna</translation>
    </message>
    <message>
        <source>words to look up: Web search, Find files</source>
        <translation>ord att slå upp: Webbsökning, Hitta filer</translation>
    </message>
    <message>
        <source>a text: Paste, Copy</source>
        <translation>en text: Klistra in, Kopiera</translation>
    </message>
    <message>
        <source>a command: Run</source>
        <translation>ett kommando: Kör</translation>
    </message>
    <message>
        <source>the folder relative paths are found in</source>
        <translation>mappen där relativa sökvägar hittas</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
</context>
<context>
    <name>glimra::RulesPage</name>
    <message>
        <source>Key</source>
        <translation>Nyckel</translation>
    </message>
    <message>
        <source>Value template</source>
        <translation>Värdemall</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Reguljärt uttryck</translation>
    </message>
    <message>
        <source>Type a sample text to see what the rules make of it</source>
        <translation>Skriv en exempeltext för att se vad reglerna gör av den</translation>
    </message>
    <message>
        <source>&amp;Try the rules:</source>
        <translation>&amp;Prova reglerna:</translation>
    </message>
    <message>
        <source>Rule %1: %2</source>
        <translation>Regel %1: %2</translation>
    </message>
    <message>
        <source>Nothing is saved until it compiles.</source>
        <translation>Inget sparas förrän den går att kompilera.</translation>
    </message>
    <message>
        <source>Rule %1 does not compile: %2.</source>
        <translation>Regel %1 går inte att kompilera: %2.</translation>
    </message>
    <message>
        <source>Rule %1 matches: %2 = %3</source>
        <translation>Regel %1 matchar: %2 = %3</translation>
    </message>
    <message>
        <source>Rule %1 was stopped: it reached %2.</source>
        <translation>Regel %1 stoppades: den nådde %2.</translation>
    </message>
    <message>
        <source>Rule %1 does not match.</source>
        <translation>Regel %1 matchar inte.</translation>
    </message>
    <message>
        <source>The guess: looks like %1.</source>
        <translation>Gissningen: ser ut som %1.</translation>
    </message>
    <message>
        <source>No action is offered.</source>
        <translation>Ingen åtgärd erbjuds.</translation>
    </message>
    <message>
        <source>Actions: %1.</source>
        <translation>Åtgärder: %1.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>A rule recognises a text of your own, such as a ticket number, by a regular expression, and sets a key that the actions take up: ACT_URL is opened as a web address, ACT_WORDS looked up, ACT_TEXT pasted (the key column lists them). It sets its key when its expression matches a line of the selection, or else a word of it. Keys beginning with CTX_ run first, keys beginning with ACT_ last; when several rules match, the last one wins. In the value template, $0 stands for the whole match, $1, $2, … for its groups.</source>
        <translation>En regel känner igen en egen text, till exempel ett ärendenummer, med ett reguljärt uttryck och sätter en nyckel som åtgärderna tar upp: ACT_URL öppnas som en webbadress, ACT_WORDS slås upp, ACT_TEXT klistras in (nyckelkolumnen listar dem). Den sätter sin nyckel när uttrycket matchar en rad i markeringen, annars ett ord i den. Nycklar som börjar med CTX_ körs först, nycklar som börjar med ACT_ sist; när flera regler matchar vinner den sista. I värdemallen står $0 för hela träffen och $1, $2, … för dess grupper.</translation>
    </message>
</context>
<context>
    <name>glimra::SearchPage</name>
    <message>
        <source>This does not parse: %1. Nothing is saved until it does.</source>
        <translation>Det här går inte att tolka: %1. Inget sparas förrän det går.</translation>
    </message>
    <message>
        <source>hides Git&apos;s own files</source>
        <translation>döljer Gits egna filer</translation>
    </message>
    <message>
        <source>hides compiled files</source>
        <translation>döljer kompilerade filer</translation>
    </message>
    <message>
        <source>hides hidden files and caches</source>
        <translation>döljer dolda filer och cacheminnen</translation>
    </message>
    <message>
        <source>&amp;Web search address: %1 stands for the words looked up; empty, the default engine is used.</source>
        <translation>&amp;Webbsökadress: %1 står för orden som slås upp; tom används standardsökmotorn.</translation>
    </message>
    <message>
        <source>The desktop file search offers files whose names look like the selection. Its hits for which this condition holds are &amp;not shown. It reads filename, dirname, path and extension, with comparisons such as ==, CONTAINS, BEGINSWITH, ENDSWITH, LIKE, MATCHES and IN, joined by AND, OR and NOT; [c] compares without regard to case.</source>
        <translation>Skrivbordets filsökning erbjuder filer vars namn liknar markeringen. Träffar för vilka detta villkor gäller visas &amp;inte. Den läser filename, dirname, path och extension, med jämförelser som ==, CONTAINS, BEGINSWITH, ENDSWITH, LIKE, MATCHES och IN, förenade med AND, OR och NOT; [c] jämför utan hänsyn till skiftläge.</translation>
    </message>
    <message>
        <source>For example:</source>
        <translation>Till exempel:</translation>
    </message>
    <message>
        <source>This address has no %1 for the words, so it is not used.</source>
        <translation>Adressen saknar %1 för orden, så den används inte.</translation>
    </message>
    <message>
        <source>This is no http or https address, so it is not used.</source>
        <translation>Detta är ingen http- eller https-adress, så den används inte.</translation>
    </message>
</context>
<context>
    <name>glimra::SettingsTable</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Lägg till</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Ta bort</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Upp</translation>
    </message>
    <message>
        <source>Do&amp;wn</source>
        <translation>&amp;Ned</translation>
    </message>
</context>
<context>
    <name>glimra::ShortcutSettings</name>
    <message>
        <source>guess the selection</source>
        <translation>gissa markeringen</translation>
    </message>
    <message>
        <source>guess the clipboard</source>
        <translation>gissa urklippet</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is more than one key combination; a shortcut is one, such as &quot;Ctrl+Alt+Y&quot;</source>
        <translation>”%1” är mer än en tangentkombination; ett kortkommando är en, till exempel ”Ctrl+Alt+Y”</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names no modifier: &quot;%2&quot; is not one; they are Ctrl, Shift, Alt and Meta (the Super or Windows key)</source>
        <translation>”%1” anger ingen modifierartangent: ”%2” är ingen; de är Ctrl, Shift, Alt och Meta (Super- eller Windows-tangenten)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names no key of a keyboard: &quot;%2&quot; is not one</source>
        <translation>”%1” anger ingen tangent på ett tangentbord: ”%2” är ingen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is already the shortcut to %2 (&quot;%3&quot;)</source>
        <translation>”%1” är redan kortkommandot för att %2 (”%3”)</translation>
    </message>
</context>
<context>
    <name>glimra::UserEditor</name>
    <message>
        <source>there is no editor: set VISUAL or EDITOR</source>
        <translation>det finns ingen redigerare: ange VISUAL eller EDITOR</translation>
    </message>
</context>
<context>
    <name>glimra::WaylandShortcuts</name>
    <message>
        <source>Glimra: %1</source>
        <translation>Glimra: %1</translation>
    </message>
    <message>
        <source>guess the selection</source>
        <translation>gissa markeringen</translation>
    </message>
    <message>
        <source>guess the clipboard</source>
        <translation>gissa urklipp</translation>
    </message>
    <message>
        <source>bound in the desktop&apos;s settings</source>
        <translation>bundet i skrivbordets inställningar</translation>
    </message>
    <message>
        <source>the shortcuts are being written already; try again in a moment</source>
        <translation>kortkommandona skrivs redan; försök igen om en stund</translation>
    </message>
</context>
<context>
    <name>glimra::X11GlobalShortcuts</name>
    <message>
        <source>there is no X11 display to grab it on</source>
        <translation>det finns ingen X11-skärm att ta det på</translation>
    </message>
    <message>
        <source>no key is set</source>
        <translation>ingen tangent är angiven</translation>
    </message>
    <message>
        <source>it names no key</source>
        <translation>det anger ingen tangent</translation>
    </message>
    <message>
        <source>%1 is no key of this keyboard</source>
        <translation>%1 är ingen tangent på det här tangentbordet</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>ett annat program har redan tagit det</translation>
    </message>
</context>
</TS>
