<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Mirelo</name>
    <message>
        <source>Couldn’t save the library. </source>
        <translation>Die Mediathek konnte nicht gesichert werden. </translation>
    </message>
    <message>
        <source>Couldn’t read the saved library. The saved index has been left untouched. </source>
        <translation>Die gesicherte Mediathek konnte nicht gelesen werden. Der gesicherte Index bleibt unverändert. </translation>
    </message>
    <message>
        <source>Your library</source>
        <translation>Deine Mediathek</translation>
    </message>
    <message numerus="yes">
        <source>Moved %Ln file(s) to Trash</source>
        <translation>
            <numerusform>%Ln Datei in den Papierkorb verschoben</numerusform>
            <numerusform>%Ln Dateien in den Papierkorb verschoben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Restored %Ln file(s)</source>
        <translation>
            <numerusform>%Ln Datei wiederhergestellt</numerusform>
            <numerusform>%Ln Dateien wiederhergestellt</numerusform>
        </translation>
    </message>
    <message>
        <source>Rename folder</source>
        <translation>Ordner umbenennen</translation>
    </message>
    <message>
        <source>Rename “%1” on disk and in your library.</source>
        <translation>„%1“ auf dem Datenträger und in deiner Mediathek umbenennen.</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>New folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Create a folder inside “%1”.</source>
        <translation>Einen Ordner in „%1“ erstellen.</translation>
    </message>
    <message>
        <source>Untitled folder</source>
        <translation>Unbenannter Ordner</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Another change to your files is still in progress. Try again when it has finished.</source>
        <translation>Eine andere Änderung an deinen Dateien läuft noch. Versuche es erneut, wenn sie abgeschlossen ist.</translation>
    </message>
    <message>
        <source>The selected files couldn’t be copied to the clipboard.</source>
        <translation>Die ausgewählten Dateien konnten nicht in die Zwischenablage kopiert werden.</translation>
    </message>
    <message>
        <source>Choose folders to scan</source>
        <translation>Ordner zum Durchsuchen wählen</translation>
    </message>
    <message>
        <source>Scan media</source>
        <translation>Medien suchen</translation>
    </message>
    <message>
        <source>Choose one or more folders, your home folder, or an external drive. Mirelo includes subfolders and leaves your files in place.</source>
        <translation>Wähle einen oder mehrere Ordner, deinen persönlichen Ordner oder ein externes Laufwerk. Mirelo bezieht Unterordner ein und lässt deine Dateien, wo sie sind.</translation>
    </message>
    <message>
        <source>Open in Mirelo</source>
        <translation>In Mirelo öffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Looking for images and videos…</source>
        <translation>Bilder und Videos werden gesucht …</translation>
    </message>
    <message>
        <source>%1 files found</source>
        <translation>%1 Dateien gefunden</translation>
    </message>
    <message>
        <source>Scan stopped · %1</source>
        <translation>Suche angehalten · %1</translation>
    </message>
    <message>
        <source>%1 · %2 locations couldn’t be read</source>
        <translation>%1 · %2 Orte konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1. Folders you don’t have permission to read were skipped.</source>
        <translation>%1. Ordner, für die du keine Leseberechtigung hast, wurden übersprungen.</translation>
    </message>
    <message>
        <source>“%1” doesn’t exist.</source>
        <translation>„%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>These files don’t exist.</source>
        <translation>Diese Dateien existieren nicht.</translation>
    </message>
    <message>
        <source>These files aren’t recognized as images or videos.</source>
        <translation>Diese Dateien werden nicht als Bilder oder Videos erkannt.</translation>
    </message>
    <message>
        <source>its</source>
        <translation>seiner</translation>
    </message>
    <message>
        <source>Mirelo can’t watch all of your indexed folders for changes: they hold more folders than fit within the system’s limit of %1 watched folders, which other apps share. The folders already watched stay current, and the library is re-read every %2 minutes so nothing is missed for long. To raise the limit, run “sudo sysctl fs.inotify.max_user_watches=524288” and add “fs.inotify.max_user_watches=524288” to /etc/sysctl.conf.</source>
        <translation>Mirelo kann nicht alle deine indizierten Ordner auf Änderungen überwachen: Sie enthalten mehr Ordner, als die Systemgrenze von %1 überwachten Ordnern erlaubt, die sich alle Apps teilen. Die bereits überwachten Ordner bleiben aktuell, und die Mediathek wird alle %2 Minuten neu gelesen, damit nichts lange fehlt. Um die Grenze anzuheben, führe „sudo sysctl fs.inotify.max_user_watches=524288“ aus und füge „fs.inotify.max_user_watches=524288“ zu /etc/sysctl.conf hinzu.</translation>
    </message>
    <message>
        <source>Show Library</source>
        <translation>Mediathek anzeigen</translation>
    </message>
    <message>
        <source>Open Images…</source>
        <translation>Bilder öffnen …</translation>
    </message>
    <message>
        <source>Scan Folders…</source>
        <translation>Ordner durchsuchen …</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Fenster schließen</translation>
    </message>
    <message>
        <source>Quit Mirelo</source>
        <translation>Mirelo beenden</translation>
    </message>
    <message>
        <source>Undo Move to Trash</source>
        <translation>Verschieben in den Papierkorb widerrufen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation>Bild kopieren</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Fit to Window</source>
        <translation>An Fenster anpassen</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Show Information</source>
        <translation>Informationen anzeigen</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>In der Dateiverwaltung zeigen</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoomen</translation>
    </message>
    <message>
        <source>About Mirelo</source>
        <translation>Über Mirelo</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Widerrufen</translation>
    </message>
    <message>
        <source>Destructive</source>
        <translation>Unwiderruflich</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Couldn’t register Mirelo with your desktop: </source>
        <translation>Mirelo konnte nicht bei deiner Arbeitsumgebung angemeldet werden: </translation>
    </message>
    <message>
        <source>Couldn’t register Mirelo with your desktop: its entry could not be read back.</source>
        <translation>Mirelo konnte nicht bei deiner Arbeitsumgebung angemeldet werden: Sein Eintrag ließ sich nicht wieder lesen.</translation>
    </message>
    <message>
        <source>: not registered on this system</source>
        <translation>: auf diesem System nicht registriert</translation>
    </message>
    <message>
        <source>: Mirelo’s desktop entry is missing</source>
        <translation>: Mirelos Desktop-Eintrag fehlt</translation>
    </message>
    <message numerus="yes">
        <source>Updated %Ln format(s).</source>
        <translation>
            <numerusform>%Ln Format aktualisiert.</numerusform>
            <numerusform>%Ln Formate aktualisiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 Files you open from your file manager will now use Mirelo.</source>
        <translation>%1 Dateien, die du in deiner Dateiverwaltung öffnest, werden jetzt mit Mirelo geöffnet.</translation>
    </message>
    <message>
        <source>Images and videos (%1)</source>
        <translation>Bilder und Videos (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Folder options</source>
        <translation>Ordneroptionen</translation>
    </message>
    <message>
        <source>Options for %1</source>
        <translation>Optionen für %1</translation>
    </message>
    <message>
        <source>Collapse %1</source>
        <translation>%1 einklappen</translation>
    </message>
    <message>
        <source>Expand %1</source>
        <translation>%1 ausklappen</translation>
    </message>
    <message>
        <source>Dismiss notification</source>
        <translation>Mitteilung schließen</translation>
    </message>
    <message>
        <source>Your default image viewer</source>
        <translation>Dein Standard-Bildbetrachter</translation>
    </message>
    <message>
        <source>Choose the formats you’d like to open in Mirelo when you double-click a file in your file manager.</source>
        <translation>Wähle die Formate, die sich in Mirelo öffnen sollen, wenn du in deiner Dateiverwaltung doppelt auf eine Datei klickst.</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Set Mirelo as default</source>
        <translation>Mirelo als Standard festlegen</translation>
    </message>
    <message>
        <source>Deselect all</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Updating…</source>
        <translation>Wird aktualisiert …</translation>
    </message>
    <message>
        <source>Drop images or folders</source>
        <translation>Bilder oder Ordner ablegen</translation>
    </message>
    <message>
        <source>Clear filters</source>
        <translation>Filter zurücksetzen</translation>
    </message>
    <message>
        <source>Search files</source>
        <translation>Dateien suchen</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>Sortieren nach</translation>
    </message>
    <message>
        <source>Select every file matching the current filters</source>
        <translation>Alle Dateien auswählen, die den aktuellen Filtern entsprechen</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Opening your saved library…</source>
        <translation>Deine gesicherte Mediathek wird geöffnet …</translation>
    </message>
    <message>
        <source>New Folder Inside…</source>
        <translation>Neuer Ordner darin …</translation>
    </message>
    <message>
        <source>Rename Folder…</source>
        <translation>Ordner umbenennen …</translation>
    </message>
    <message>
        <source>Refresh Scan</source>
        <translation>Erneut durchsuchen</translation>
    </message>
    <message>
        <source>Open this folder in your library</source>
        <translation>Diesen Ordner in deiner Mediathek öffnen</translation>
    </message>
    <message>
        <source>Double-click an image to open</source>
        <translation>Doppelklicke auf ein Bild, um es zu öffnen</translation>
    </message>
    <message>
        <source>Open images</source>
        <translation>Bilder öffnen</translation>
    </message>
    <message>
        <source>LIBRARY</source>
        <translation>MEDIATHEK</translation>
    </message>
    <message>
        <source>FOLDERS</source>
        <translation>ORDNER</translation>
    </message>
    <message>
        <source>Add a folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Your scanned folders
will appear here.</source>
        <translation>Deine durchsuchten Ordner
erscheinen hier.</translation>
    </message>
    <message>
        <source>A little more space.</source>
        <translation>Ein wenig mehr Platz.</translation>
    </message>
    <message>
        <source>Find the files you need.
Let go of the ones you don’t.</source>
        <translation>Finde, was du brauchst.
Lass los, was du nicht brauchst.</translation>
    </message>
    <message>
        <source>Scan folders</source>
        <translation>Ordner durchsuchen</translation>
    </message>
    <message>
        <source>Scan Entire Computer</source>
        <translation>Computer durchsuchen</translation>
    </message>
    <message>
        <source>Scan accessible files in your home folder and connected external drives. System files, hidden folders and app packages are excluded. Your index is saved and watched for changes while the app is open.</source>
        <translation>Durchsucht die zugänglichen Dateien in deinem persönlichen Ordner und auf angeschlossenen externen Laufwerken. Systemdateien, versteckte Ordner und App-Pakete sind ausgenommen. Dein Index wird gesichert und auf Änderungen überwacht, solange die App geöffnet ist.</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>All media</source>
        <translation>Alle Medien</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>Large files</source>
        <translation>Große Dateien</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Largest first</source>
        <translation>Größte zuerst</translation>
    </message>
    <message>
        <source>Smallest first</source>
        <translation>Kleinste zuerst</translation>
    </message>
    <message>
        <source>Newest first</source>
        <translation>Neueste zuerst</translation>
    </message>
    <message>
        <source>File format</source>
        <translation>Dateiformat</translation>
    </message>
    <message>
        <source>All formats</source>
        <translation>Alle Formate</translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln Datei</numerusform>
            <numerusform>%Ln Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Opening your library…</source>
        <translation>Deine Mediathek wird geöffnet …</translation>
    </message>
    <message>
        <source>A home for every image.</source>
        <translation>Ein Zuhause für jedes Bild.</translation>
    </message>
    <message>
        <source>Preparing your media…</source>
        <translation>Deine Medien werden vorbereitet …</translation>
    </message>
    <message>
        <source>Open, explore, and make a little room.</source>
        <translation>Öffnen, entdecken und ein wenig Platz schaffen.</translation>
    </message>
    <message>
        <source>%1  ·  %2 files  ·  %3</source>
        <translation>%1  ·  %2 Dateien  ·  %3</translation>
    </message>
    <message>
        <source>Loading content…</source>
        <translation>Inhalt wird geladen …</translation>
    </message>
    <message>
        <source>%1 selected · %2</source>
        <translation>%1 ausgewählt · %2</translation>
    </message>
    <message>
        <source>Scanning · %1 files found</source>
        <translation>Suche läuft · %1 Dateien gefunden</translation>
    </message>
    <message>
        <source>Finding your media…</source>
        <translation>Deine Medien werden gesucht …</translation>
    </message>
    <message>
        <source>No matching files</source>
        <translation>Keine passenden Dateien</translation>
    </message>
    <message>
        <source>Large files are 10 MB or more.</source>
        <translation>Große Dateien haben 10 MB oder mehr.</translation>
    </message>
    <message>
        <source>Try another format or a different search.</source>
        <translation>Versuche ein anderes Format oder eine andere Suche.</translation>
    </message>
    <message numerus="yes">
        <source>Move %Ln file(s) to Trash?</source>
        <translation>
            <numerusform>%Ln Datei in den Papierkorb verschieben?</numerusform>
            <numerusform>%Ln Dateien in den Papierkorb verschieben?</numerusform>
        </translation>
    </message>
    <message>
        <source>Deselect All</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>Mirelo couldn’t complete that</source>
        <translation>Mirelo konnte das nicht abschließen</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Ausgewählt</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>Nicht ausgewählt</translation>
    </message>
    <message>
        <source>Activate to toggle selection</source>
        <translation>Aktivieren, um die Auswahl umzuschalten</translation>
    </message>
    <message>
        <source>Activate to open in the viewer</source>
        <translation>Aktivieren, um es im Betrachter zu öffnen</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Copy selected files to paste in your file manager or another app</source>
        <translation>Ausgewählte Dateien kopieren, um sie in der Dateiverwaltung oder einer anderen App einzufügen</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Share selected files</source>
        <translation>Ausgewählte Dateien teilen</translation>
    </message>
    <message>
        <source>Email…</source>
        <translation>E-Mail …</translation>
    </message>
    <message>
        <source>Open With…</source>
        <translation>Öffnen mit …</translation>
    </message>
    <message>
        <source>MIRELO %1  ·  A closer look.</source>
        <translation>MIRELO %1  ·  Ein genauerer Blick.</translation>
    </message>
    <message>
        <source>Make yourself at home.</source>
        <translation>Fühl dich wie zu Hause.</translation>
    </message>
    <message>
        <source>Mirelo settings</source>
        <translation>Mirelo-Einstellungen</translation>
    </message>
    <message>
        <source>Done (Esc)</source>
        <translation>Fertig (Esc)</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>Background blur</source>
        <translation>Hintergrundunschärfe</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Soft</source>
        <translation>Weich</translation>
    </message>
    <message>
        <source>Adjust the softness behind your image. The default is 10%.</source>
        <translation>Stelle die Weichheit hinter deinem Bild ein. Voreingestellt sind 10 %.</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 Prozent</translation>
    </message>
    <message>
        <source>Made for your desktop</source>
        <translation>Gemacht für deinen Desktop</translation>
    </message>
    <message>
        <source>Your files stay yours</source>
        <translation>Deine Dateien bleiben deine</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Space in these large files</source>
        <translation>Platz in diesen großen Dateien</translation>
    </message>
    <message>
        <source>Every image. Beautifully simple.</source>
        <translation>Jedes Bild. Wunderbar einfach.</translation>
    </message>
    <message>
        <source>From everyday photos to vectors and RAW files.
A closer look is just a double-click away.</source>
        <translation>Von Alltagsfotos bis zu Vektorgrafiken und RAW-Dateien.
Ein genauerer Blick ist nur einen Doppelklick entfernt.</translation>
    </message>
    <message>
        <source>Scan a folder</source>
        <translation>Ordner durchsuchen</translation>
    </message>
    <message>
        <source>or drop images and folders anywhere</source>
        <translation>oder Bilder und Ordner irgendwo ablegen</translation>
    </message>
    <message>
        <source>Browse with arrow keys</source>
        <translation>Mit den Pfeiltasten blättern</translation>
    </message>
    <message>
        <source>Pinch to get closer</source>
        <translation>Zum Vergrößern die Finger spreizen</translation>
    </message>
    <message>
        <source>Clean up with confidence</source>
        <translation>Beruhigt aufräumen</translation>
    </message>
    <message>
        <source>%1 unavailable: Mirelo couldn’t load its part %2 (%3). Reinstalling Mirelo should bring them back.</source>
        <translation>%1 nicht verfügbar: Mirelo konnte seinen Teil %2 nicht laden (%3). Eine Neuinstallation von Mirelo sollte das beheben.</translation>
    </message>
    <message>
        <source>Couldn’t save your library</source>
        <translation>Deine Mediathek konnte nicht gesichert werden</translation>
    </message>
    <message>
        <source>Your media files are safe. </source>
        <translation>Deine Mediendateien sind sicher. </translation>
    </message>
    <message>
        <source>Keep Open</source>
        <translation>Geöffnet lassen</translation>
    </message>
    <message>
        <source>Quit Anyway</source>
        <translation>Trotzdem beenden</translation>
    </message>
    <message>
        <source>&lt;b&gt;Mirelo&lt;/b&gt; %1&lt;br&gt;Every image. Beautifully simple.&lt;br&gt;&lt;br&gt;A media library and image viewer that keeps everything on your computer.</source>
        <translation>&lt;b&gt;Mirelo&lt;/b&gt; %1&lt;br&gt;Jedes Bild. Wunderbar einfach.&lt;br&gt;&lt;br&gt;Eine Mediathek und ein Bildbetrachter, die alles auf deinem Computer lassen.</translation>
    </message>
    <message>
        <source>Mirelo couldn’t open that</source>
        <translation>Mirelo konnte das nicht öffnen</translation>
    </message>
    <message>
        <source>Add a copy of the current media to this folder</source>
        <translation>Eine Kopie des aktuellen Mediums zu diesem Ordner hinzufügen</translation>
    </message>
    <message>
        <source>No subfolders</source>
        <translation>Keine Unterordner</translation>
    </message>
    <message>
        <source>Loading folders…</source>
        <translation>Ordner werden geladen …</translation>
    </message>
    <message>
        <source>Filmstrip</source>
        <translation>Filmstreifen</translation>
    </message>
    <message>
        <source>View %1</source>
        <translation>%1 ansehen</translation>
    </message>
    <message>
        <source>Add to Folder</source>
        <translation>Zu Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Save a copy. Your original stays in place.</source>
        <translation>Sichere eine Kopie. Dein Original bleibt, wo es ist.</translation>
    </message>
    <message>
        <source>Choose existing folder…</source>
        <translation>Vorhandenen Ordner wählen …</translation>
    </message>
    <message>
        <source>Create a new folder…</source>
        <translation>Neuen Ordner erstellen …</translation>
    </message>
    <message>
        <source>%1. Pinch or double-click to zoom. Drag to pan.</source>
        <translation>%1. Zum Zoomen Finger spreizen oder doppelklicken. Zum Verschieben ziehen.</translation>
    </message>
    <message>
        <source>Image canvas</source>
        <translation>Bildfläche</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Abmessungen</translation>
    </message>
    <message>
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Optimized to 4,096 px for smooth viewing</source>
        <translation>Für flüssige Anzeige auf 4.096 px optimiert</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Image information</source>
        <translation>Bildinformationen</translation>
    </message>
    <message>
        <source>Mirelo Viewer</source>
        <translation>Mirelo-Betrachter</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>%1 (Space)</source>
        <translation>%1 (Leertaste)</translation>
    </message>
    <message>
        <source>Couldn’t copy image</source>
        <translation>Bild konnte nicht kopiert werden</translation>
    </message>
    <message>
        <source>This file could not be decoded as an image.</source>
        <translation>Diese Datei konnte nicht als Bild dekodiert werden.</translation>
    </message>
    <message>
        <source>The system clipboard did not accept this image.</source>
        <translation>Die Zwischenablage des Systems hat dieses Bild nicht angenommen.</translation>
    </message>
    <message>
        <source>Choose where to create your folder</source>
        <translation>Wähle, wo dein Ordner erstellt werden soll</translation>
    </message>
    <message>
        <source>Add image to folder</source>
        <translation>Bild zu Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Choose location</source>
        <translation>Ort wählen</translation>
    </message>
    <message>
        <source>Add a copy</source>
        <translation>Kopie hinzufügen</translation>
    </message>
    <message>
        <source>Choose the parent folder. You’ll name the new folder next.</source>
        <translation>Wähle den übergeordneten Ordner. Den Namen des neuen Ordners vergibst du danach.</translation>
    </message>
    <message>
        <source>Mirelo copies this image into the selected folder. Your original stays in place.</source>
        <translation>Mirelo kopiert dieses Bild in den ausgewählten Ordner. Dein Original bleibt, wo es ist.</translation>
    </message>
    <message>
        <source>Create a folder</source>
        <translation>Ordner erstellen</translation>
    </message>
    <message>
        <source>Create a folder in %1 and add a copy of %2.</source>
        <translation>Einen Ordner in %1 erstellen und eine Kopie von %2 hinzufügen.</translation>
    </message>
    <message>
        <source>New collection</source>
        <translation>Neue Sammlung</translation>
    </message>
    <message>
        <source>Create &amp; add</source>
        <translation>Erstellen und hinzufügen</translation>
    </message>
    <message>
        <source>Couldn’t create folder</source>
        <translation>Ordner konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Couldn’t add image</source>
        <translation>Bild konnte nicht hinzugefügt werden</translation>
    </message>
    <message>
        <source>Added a copy to %1</source>
        <translation>Kopie zu %1 hinzugefügt</translation>
    </message>
    <message>
        <source>%1 — Mirelo</source>
        <translation>%1 – Mirelo</translation>
    </message>
    <message>
        <source>This file can’t be previewed.
It may be damaged or use an unsupported codec.</source>
        <translation>Für diese Datei gibt es keine Vorschau.
Sie ist vielleicht beschädigt oder nutzt einen nicht unterstützten Codec.</translation>
    </message>
    <message>
        <source>This video can’t be played on this computer.
Its codec may not be supported.</source>
        <translation>Dieses Video kann auf diesem Computer nicht abgespielt werden.
Sein Codec wird vielleicht nicht unterstützt.</translation>
    </message>
    <message>
        <source>You can restore these files with Undo in Mirelo or from the Trash.</source>
        <translation>Du kannst diese Dateien in Mirelo mit „Widerrufen“ oder aus dem Papierkorb wiederherstellen.</translation>
    </message>
    <message>
        <source>Show library</source>
        <translation>Mediathek anzeigen</translation>
    </message>
    <message>
        <source>Add image to a folder</source>
        <translation>Bild zu einem Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Image information (Ctrl+I)</source>
        <translation>Bildinformationen (Strg+I)</translation>
    </message>
    <message>
        <source>Copy image (Ctrl+C)</source>
        <translation>Bild kopieren (Strg+C)</translation>
    </message>
    <message>
        <source>Image magnification</source>
        <translation>Bildvergrößerung</translation>
    </message>
    <message>
        <source>Viewing %1</source>
        <translation>%1 wird angezeigt</translation>
    </message>
    <message>
        <source>Optimized 4,096 px preview · original %1 × %2</source>
        <translation>Optimierte Vorschau mit 4.096 px · Original %1 × %2</translation>
    </message>
    <message>
        <source>%1 will be moved from their original folders. You can use Undo in Mirelo or restore them from the Trash.</source>
        <translation>%1 werden aus ihren ursprünglichen Ordnern verschoben. Du kannst sie in Mirelo mit „Widerrufen“ oder aus dem Papierkorb wiederherstellen.</translation>
    </message>
    <message>
        <source>Your content is loading</source>
        <translation>Deine Inhalte werden geladen</translation>
    </message>
    <message>
        <source>You can keep browsing your library.</source>
        <translation>Du kannst in deiner Mediathek weiterstöbern.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln byte(s)</source>
        <translation>
            <numerusform>%Ln Byte</numerusform>
            <numerusform>%Ln Byte</numerusform>
        </translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Fit / actual size</source>
        <translation>Einpassen / Originalgröße</translation>
    </message>
    <message>
        <source>Undo Trash</source>
        <translation>Papierkorb widerrufen</translation>
    </message>
    <message>
        <source>Mirelo works locally. Scans don’t upload or move your files. Deletions go to the Trash.</source>
        <translation>Mirelo arbeitet lokal. Beim Durchsuchen wird nichts hochgeladen oder verschoben. Gelöschtes kommt in den Papierkorb.</translation>
    </message>
    <message>
        <source>Image and video codec support depends on the codecs installed. PDF and animated images currently display their first page or frame.</source>
        <translation>Welche Bild- und Videocodecs unterstützt werden, hängt von den installierten Codecs ab. Von PDFs und animierten Bildern wird derzeit die erste Seite bzw. das erste Bild gezeigt.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Vollbild verlassen</translation>
    </message>
    <message>
        <source>Exact copies</source>
        <translation>Exakte Kopien</translation>
    </message>
    <message>
        <source>Similar photos</source>
        <translation>Ähnliche Fotos</translation>
    </message>
    <message>
        <source>Select extra copies</source>
        <translation>Überzählige Kopien auswählen</translation>
    </message>
    <message>
        <source>Selects every copy but the one Mirelo suggests keeping, in each group shown</source>
        <translation>Wählt in jeder gezeigten Gruppe jede Kopie außer der, die Mirelo zu behalten vorschlägt</translation>
    </message>
    <message>
        <source>Looking for duplicates…</source>
        <translation>Duplikate werden gesucht …</translation>
    </message>
    <message>
        <source>Looking for duplicates… %1 of %2 files</source>
        <translation>Duplikate werden gesucht … %1 von %2 Dateien</translation>
    </message>
    <message numerus="yes">
        <source>%Ln similar photos</source>
        <translation>
            <numerusform>%Ln ähnliches Foto</numerusform>
            <numerusform>%Ln ähnliche Fotos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln copies</source>
        <translation>
            <numerusform>%Ln Kopie</numerusform>
            <numerusform>%Ln Kopien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 · %2 could be freed</source>
        <translation>%1 · %2 könnten frei werden</translation>
    </message>
    <message>
        <source>Move all copies to the Trash?</source>
        <translation>Alle Kopien in den Papierkorb legen?</translation>
    </message>
    <message numerus="yes">
        <source>All copies of %Ln picture(s) are among the %1 files. Nothing of them will be left in your library. You can restore them from the Trash (%2).</source>
        <translation>
            <numerusform>Alle Kopien von %Ln Bild sind unter den %1 Dateien. Davon bleibt nichts in deiner Mediathek. Du kannst sie aus dem Papierkorb wiederherstellen (%2).</numerusform>
            <numerusform>Alle Kopien von %Ln Bildern sind unter den %1 Dateien. Davon bleibt nichts in deiner Mediathek. Du kannst sie aus dem Papierkorb wiederherstellen (%2).</numerusform>
        </translation>
    </message>
    <message>
        <source>Kept: in the folder you added first</source>
        <translation>Behalten: im Ordner, den du zuerst hinzugefügt hast</translation>
    </message>
    <message>
        <source>Kept: the oldest copy</source>
        <translation>Behalten: die älteste Kopie</translation>
    </message>
    <message>
        <source>Kept: the largest picture</source>
        <translation>Behalten: das größte Bild</translation>
    </message>
    <message>
        <source>No duplicates</source>
        <translation>Keine Duplikate</translation>
    </message>
    <message>
        <source>Mirelo found no two files with the same content here.</source>
        <translation>Mirelo hat hier keine zwei Dateien mit gleichem Inhalt gefunden.</translation>
    </message>
    <message>
        <source>Mirelo found no photos that look alike here.</source>
        <translation>Mirelo hat hier keine Fotos gefunden, die sich gleichen.</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Nearly identical</source>
        <translation>Nahezu gleich</translation>
    </message>
    <message>
        <source>Very similar</source>
        <translation>Sehr ähnlich</translation>
    </message>
    <message>
        <source>Similar</source>
        <translation>Ähnlich</translation>
    </message>
    <message>
        <source>Duplicates</source>
        <translation>Duplikate</translation>
    </message>
    <message>
        <source>Space the extra copies take</source>
        <translation>Platz, den die überzähligen Kopien belegen</translation>
    </message>
    <message>
        <source>Kept: it carries the camera’s details</source>
        <translation>Behalten: mit den Angaben der Kamera</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Ordner: %1</translation>
    </message>
    <message>
        <source>Also at: %1</source>
        <translation>Auch unter: %1</translation>
    </message>
    <message>
        <source>No application chooser</source>
        <translation>Keine Programmauswahl</translation>
    </message>
    <message>
        <source>This desktop has no way to choose an application, so the file was opened in its default application.</source>
        <translation>Diese Arbeitsumgebung bietet keine Programmauswahl. Die Datei wurde deshalb mit ihrem Standardprogramm geöffnet.</translation>
    </message>
    <message>
        <source>This desktop has no way to choose an application, and no application is set to open this file.</source>
        <translation>Diese Arbeitsumgebung bietet keine Programmauswahl, und kein Programm ist zum Öffnen dieser Datei festgelegt.</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Lens</source>
        <translation>Objektiv</translation>
    </message>
    <message>
        <source>Captured</source>
        <translation>Aufgenommen</translation>
    </message>
    <message>
        <source>Color profile</source>
        <translation>Farbprofil</translation>
    </message>
</context>
</TS>
