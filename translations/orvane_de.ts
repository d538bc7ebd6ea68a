<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Appearance</name>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
</context>
<context>
    <name>BatteryModel</name>
    <message>
        <source>Health, cycles &amp; charge</source>
        <translation>Zustand, Ladezyklen &amp; Ladung</translation>
    </message>
    <message>
        <source>No internal battery detected</source>
        <translation>Keine interne Batterie gefunden</translation>
    </message>
    <message>
        <source>Maximum
Capacity</source>
        <translation>Maximale
Kapazität</translation>
    </message>
    <message>
        <source>Current
Charge</source>
        <translation>Aktuelle
Ladung</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>Wird geladen</translation>
    </message>
    <message>
        <source>Fully Charged</source>
        <translation>Vollständig geladen</translation>
    </message>
    <message>
        <source>On AC · Not Charging</source>
        <translation>Am Netz · Lädt nicht</translation>
    </message>
    <message>
        <source>On Battery</source>
        <translation>Batteriebetrieb</translation>
    </message>
    <message>
        <source>%1 / %2 rated</source>
        <translation>%1 / %2 (Soll)</translation>
    </message>
    <message>
        <source>%1 cycles remaining (rated)</source>
        <translation>noch %1 Zyklen (Soll)</translation>
    </message>
    <message>
        <source>On AC</source>
        <translation>Am Netz</translation>
    </message>
    <message>
        <source>Calculating…</source>
        <translation>Wird berechnet …</translation>
    </message>
    <message>
        <source>Full Charge Capacity</source>
        <translation>Volle Kapazität</translation>
    </message>
    <message>
        <source>Design Capacity</source>
        <translation>Nennkapazität</translation>
    </message>
    <message>
        <source>Current Capacity</source>
        <translation>Aktuelle Kapazität</translation>
    </message>
    <message>
        <source>Time Remaining</source>
        <translation>Restlaufzeit</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Spannung</translation>
    </message>
    <message>
        <source>Amperage</source>
        <translation>Stromstärke</translation>
    </message>
    <message>
        <source>Power Source</source>
        <translation>Stromquelle</translation>
    </message>
    <message>
        <source>Power Adapter</source>
        <translation>Netzteil</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Batterie</translation>
    </message>
    <message>
        <source>Battery Serial</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Gut</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Ausreichend</translation>
    </message>
    <message>
        <source>Poor</source>
        <translation>Schwach</translation>
    </message>
    <message>
        <source>Service Recommended</source>
        <translation>Service empfohlen</translation>
    </message>
    <message>
        <source>Check Battery</source>
        <translation>Batterie prüfen</translation>
    </message>
    <message>
        <source>Replace Soon</source>
        <translation>Bald ersetzen</translation>
    </message>
    <message>
        <source>Replace Now</source>
        <translation>Jetzt ersetzen</translation>
    </message>
    <message>
        <source>Time to Full</source>
        <translation>Bis vollständig geladen</translation>
    </message>
    <message>
        <source>This Mac runs on AC power – no battery to report.</source>
        <translation>Dieser Mac läuft am Stromnetz – es gibt keine Batterie.</translation>
    </message>
    <message>
        <source>This computer runs on AC power – no battery to report.</source>
        <translation>Dieser Computer läuft am Stromnetz – es gibt keine Batterie.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Show the captured machine in &lt;dir&gt; instead of this one.</source>
        <translation>Den in &lt;dir&gt; aufgezeichneten Rechner statt dieses Rechners zeigen.</translation>
    </message>
    <message>
        <source>Read /proc and /sys under &lt;dir&gt; instead of / (Linux).</source>
        <translation>/proc und /sys unter &lt;dir&gt; statt unter / lesen (Linux).</translation>
    </message>
    <message>
        <source>Render every page and the About window, light and dark, to PNG files in &lt;dir&gt;, then exit.</source>
        <translation>Jede Seite und das Fenster „Über Orvane“, hell und dunkel, als PNG-Dateien in &lt;dir&gt; speichern, dann beenden.</translation>
    </message>
    <message>
        <source>With --screenshot: the window&apos;s size, &lt;width&gt;x&lt;height&gt; (default: its smallest).</source>
        <translation>Mit --screenshot: die Größe des Fensters, &lt;width&gt;x&lt;height&gt; (Standard: die kleinste).</translation>
    </message>
    <message>
        <source>Open on page &lt;name&gt;: overview, battery, storage, performance or displays.</source>
        <translation>Mit der Seite &lt;name&gt; öffnen: overview, battery, storage, performance oder displays.</translation>
    </message>
    <message>
        <source>Show the interface in &lt;language&gt; (de or en) instead of the system&apos;s.</source>
        <translation>Die Oberfläche in &lt;language&gt; (de oder en) statt in der Sprache des Systems zeigen.</translation>
    </message>
</context>
<context>
    <name>DisplaysModel</name>
    <message numerus="yes">
        <source>%n GPU(s)</source>
        <translation>
            <numerusform>%n GPU</numerusform>
            <numerusform>%n GPUs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n display(s)</source>
        <translation>
            <numerusform>%n Display</numerusform>
            <numerusform>%n Displays</numerusform>
        </translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Haupt</translation>
    </message>
    <message>
        <source>%1-core GPU</source>
        <translation>GPU mit %1 Kernen</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>Treiber</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>Refresh Rate</source>
        <translation>Bildwiederholrate</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Internal</source>
        <translation>Intern</translation>
    </message>
    <message>
        <source>Built-in Display</source>
        <translation>Integriertes Display</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Display</translation>
    </message>
</context>
<context>
    <name>HistoryModel</name>
    <message>
        <source>average %1, peak %2</source>
        <translation>Mittel %1, Spitze %2</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Arbeitsspeicher</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <source>%1 s ago</source>
        <translation>vor %1 s</translation>
    </message>
    <message>
        <source>No sample</source>
        <translation>Keine Messung</translation>
    </message>
    <message>
        <source>Processor %1 (user %2, system %3)</source>
        <translation>Prozessor %1 (Benutzer %2, System %3)</translation>
    </message>
    <message>
        <source>Memory %1 (%2)</source>
        <translation>Arbeitsspeicher %1 (%2)</translation>
    </message>
    <message>
        <source>not measured yet</source>
        <translation>noch nicht gemessen</translation>
    </message>
    <message>
        <source>Processor load, last 2 minutes: %1. Memory used: %2.</source>
        <translation>Prozessorlast der letzten 2 Minuten: %1. Belegter Arbeitsspeicher: %2.</translation>
    </message>
</context>
<context>
    <name>JournalModel</name>
    <message>
        <source>Needs a month of history</source>
        <translation>Braucht einen Monat Verlauf</translation>
    </message>
    <message>
        <source>Needs more readings</source>
        <translation>Braucht mehr Messungen</translation>
    </message>
    <message>
        <source>Health is holding steady</source>
        <translation>Der Zustand bleibt stabil</translation>
    </message>
    <message>
        <source>Health is at or below 80%</source>
        <translation>Der Zustand liegt bei 80 % oder darunter</translation>
    </message>
    <message>
        <source>This capture holds no health history</source>
        <translation>Diese Aufzeichnung enthält keinen Zustandsverlauf</translation>
    </message>
    <message>
        <source>Recording is switched off</source>
        <translation>Der Verlauf wird nicht aufgezeichnet</translation>
    </message>
    <message>
        <source>No history recorded yet</source>
        <translation>Noch kein Verlauf aufgezeichnet</translation>
    </message>
    <message>
        <source>Jan</source>
        <translation>Jan.</translation>
    </message>
    <message>
        <source>Feb</source>
        <translation>Feb.</translation>
    </message>
    <message>
        <source>Mar</source>
        <translation>März</translation>
    </message>
    <message>
        <source>Apr</source>
        <translation>Apr.</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <source>Jun</source>
        <translation>Juni</translation>
    </message>
    <message>
        <source>Jul</source>
        <translation>Juli</translation>
    </message>
    <message>
        <source>Aug</source>
        <translation>Aug.</translation>
    </message>
    <message>
        <source>Sep</source>
        <translation>Sep.</translation>
    </message>
    <message>
        <source>Oct</source>
        <translation>Okt.</translation>
    </message>
    <message>
        <source>Nov</source>
        <translation>Nov.</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Dez.</translation>
    </message>
    <message>
        <source>January</source>
        <translation>Januar</translation>
    </message>
    <message>
        <source>February</source>
        <translation>Februar</translation>
    </message>
    <message>
        <source>March</source>
        <translation>März</translation>
    </message>
    <message>
        <source>April</source>
        <translation>April</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Juni</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Juli</translation>
    </message>
    <message>
        <source>August</source>
        <translation>August</translation>
    </message>
    <message>
        <source>September</source>
        <translation>September</translation>
    </message>
    <message>
        <source>October</source>
        <translation>Oktober</translation>
    </message>
    <message>
        <source>November</source>
        <translation>November</translation>
    </message>
    <message>
        <source>December</source>
        <translation>Dezember</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>month and year</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>Health reaches 80% around %1</source>
        <translation>Der Zustand erreicht 80 % etwa im %1</translation>
    </message>
    <message numerus="yes">
        <source>%n cycle(s)</source>
        <translation>
            <numerusform>%n Ladezyklus</numerusform>
            <numerusform>%n Ladezyklen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Full in about %n month(s)</source>
        <translation>
            <numerusform>Voll in etwa %n Monat</numerusform>
            <numerusform>Voll in etwa %n Monaten</numerusform>
        </translation>
    </message>
    <message>
        <source>Used space over the last 90 days: %1 to %2</source>
        <translation>Belegter Speicher in den letzten 90 Tagen: %1 bis %2</translation>
    </message>
</context>
<context>
    <name>OrvaneApp</name>
    <message>
        <source>Copy All</source>
        <translation>Alles kopieren</translation>
    </message>
    <message>
        <source>Export Report…</source>
        <translation>Bericht exportieren …</translation>
    </message>
    <message>
        <source>Open Capture…</source>
        <translation>Aufzeichnung öffnen …</translation>
    </message>
    <message>
        <source>Show This Mac</source>
        <translation>Diesen Mac zeigen</translation>
    </message>
    <message>
        <source>Show This Computer</source>
        <translation>Diesen Computer zeigen</translation>
    </message>
    <message>
        <source>Orvane Report</source>
        <translation>Orvane-Bericht</translation>
    </message>
    <message>
        <source>The report could not be saved</source>
        <translation>Der Bericht konnte nicht gesichert werden</translation>
    </message>
    <message>
        <source>Orvane could not write “%1”: %2</source>
        <translation>Orvane konnte „%1“ nicht schreiben: %2</translation>
    </message>
    <message>
        <source>This is not a capture</source>
        <translation>Das ist keine Aufzeichnung</translation>
    </message>
    <message>
        <source>“%1” holds no captured machine. Choose a directory written by orvane-report --capture.</source>
        <translation>„%1“ enthält keinen aufgezeichneten Rechner. Wähle einen Ordner, den orvane-report --capture geschrieben hat.</translation>
    </message>
    <message>
        <source>The capture could not be read</source>
        <translation>Die Aufzeichnung konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>“%1” could not be read:
%2</source>
        <translation>„%1“ konnte nicht gelesen werden:
%2</translation>
    </message>
    <message>
        <source>Plain text (*.txt)</source>
        <translation>Reiner Text (*.txt)</translation>
    </message>
    <message>
        <source>Markdown (*.md)</source>
        <translation>Markdown (*.md)</translation>
    </message>
    <message>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
    <message>
        <source>Copied report</source>
        <translation>Bericht kopiert</translation>
    </message>
</context>
<context>
    <name>OverviewModel</name>
    <message>
        <source>CPU Cores</source>
        <translation>CPU-Kerne</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Battery Health</source>
        <translation>Batteriezustand</translation>
    </message>
    <message>
        <source>AC</source>
        <translation>Netz</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Stromversorgung</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Kennung</translation>
    </message>
    <message>
        <source>Chip</source>
        <translation>Chip</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Operating System</source>
        <translation>Betriebssystem</translation>
    </message>
    <message>
        <source>Kernel</source>
        <translation>Kernel</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Computer Name</source>
        <translation>Computername</translation>
    </message>
    <message>
        <source>Uptime</source>
        <translation>Betriebszeit</translation>
    </message>
    <message>
        <source>CPU Load</source>
        <translation>CPU-Last</translation>
    </message>
    <message>
        <source>Memory Used</source>
        <translation>Belegter Arbeitsspeicher</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>Wird geladen</translation>
    </message>
    <message>
        <source>On AC</source>
        <translation>Am Netz</translation>
    </message>
    <message>
        <source>On Battery</source>
        <translation>Batteriebetrieb</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Batterie</translation>
    </message>
    <message>
        <source>Cycle Count</source>
        <translation>Ladezyklen</translation>
    </message>
    <message>
        <source>AC Power</source>
        <translation>Netzstrom</translation>
    </message>
    <message>
        <source>Displays</source>
        <translation>Displays</translation>
    </message>
    <message numerus="yes">
        <source>%n connected</source>
        <translation>
            <numerusform>%n verbunden</numerusform>
            <numerusform>%n verbunden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PageText</name>
    <message>
        <source>Know your Mac</source>
        <translation>Kenne deinen Mac</translation>
    </message>
    <message>
        <source>Know your computer</source>
        <translation>Kenne deinen Computer</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>%1d %2h %3m</source>
        <translation>%1 T %2 Std. %3 Min.</translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <translation>%1 Std. %2 Min.</translation>
    </message>
    <message>
        <source>%1m</source>
        <translation>%1 Min.</translation>
    </message>
</context>
<context>
    <name>PerformanceModel</name>
    <message>
        <source>CPU Load</source>
        <translation>CPU-Last</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>Memory Used</source>
        <translation>Arbeitsspeicher</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message numerus="yes">
        <source>%n logical core(s)</source>
        <translation>
            <numerusform>%n logischer Kern</numerusform>
            <numerusform>%n logische Kerne</numerusform>
        </translation>
    </message>
    <message>
        <source>Core %1</source>
        <translation>Kern %1</translation>
    </message>
    <message>
        <source>App Memory</source>
        <translation>App-Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Wired</source>
        <translation>Reserviert</translation>
    </message>
    <message>
        <source>Compressed</source>
        <translation>Komprimiert</translation>
    </message>
    <message>
        <source>Cached Files</source>
        <translation>Dateien im Cache</translation>
    </message>
    <message>
        <source>Swap Used</source>
        <translation>Verwendeter Swap</translation>
    </message>
</context>
<context>
    <name>Section</name>
    <message>
        <source>Overview</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Batterie</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Performance</source>
        <translation>Leistung</translation>
    </message>
    <message>
        <source>Graphics</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>Sensors</source>
        <translation>Sensoren</translation>
    </message>
</context>
<context>
    <name>SensorsModel</name>
    <message>
        <source>Sleeping</source>
        <translation>Ruhezustand</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Batterie</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Thermal Zones</source>
        <translation>Thermische Zonen</translation>
    </message>
    <message>
        <source>PCI Device</source>
        <translation>PCI-Gerät</translation>
    </message>
    <message>
        <source>Nominal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Erhöht</translation>
    </message>
    <message>
        <source>Serious</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Critical</source>
        <translation>Kritisch</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Gelesen</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Written</source>
        <translation>Geschrieben</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>GPU Load</source>
        <translation>GPU-Last</translation>
    </message>
    <message>
        <source>Thermal State</source>
        <translation>Thermischer Zustand</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>%1 RPM</source>
        <translation>%1 U/min</translation>
    </message>
    <message>
        <source>Power Draw</source>
        <translation>Leistungsaufnahme</translation>
    </message>
    <message>
        <source>Charging Power</source>
        <translation>Ladeleistung</translation>
    </message>
</context>
<context>
    <name>StorageModel</name>
    <message numerus="yes">
        <source>%n volume(s)</source>
        <translation>
            <numerusform>%n Volume</numerusform>
            <numerusform>%n Volumes</numerusform>
        </translation>
    </message>
    <message>
        <source>Startup</source>
        <translation>Startvolume</translation>
    </message>
    <message>
        <source>Internal</source>
        <translation>Intern</translation>
    </message>
    <message>
        <source>External</source>
        <translation>Extern</translation>
    </message>
    <message>
        <source>%1 used</source>
        <translation>%1 belegt</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
</context>
<context>
    <name>orvane::AboutView</name>
    <message>
        <source>Copyright © 2026 Orvane Labs. All rights reserved.</source>
        <translation>© 2026 Orvane Labs. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>Entwickler</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
</context>
<context>
    <name>orvane::Accessible</name>
    <message>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message>
        <source>Click to copy</source>
        <translation>Zum Kopieren klicken</translation>
    </message>
</context>
<context>
    <name>orvane::AppMenus</name>
    <message>
        <source>About Orvane</source>
        <translation>Über Orvane</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Quit Orvane</source>
        <translation>Orvane beenden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>orvane::BatteryView</name>
    <message>
        <source>Battery</source>
        <translation>Batterie</translation>
    </message>
    <message>
        <source>Cycle Count</source>
        <translation>Ladezyklen</translation>
    </message>
    <message>
        <source>Capacity</source>
        <translation>Kapazität</translation>
    </message>
    <message>
        <source>Electrical &amp; Status</source>
        <translation>Elektrik &amp; Status</translation>
    </message>
    <message>
        <source>Condition: %1</source>
        <translation>Zustand: %1</translation>
    </message>
</context>
<context>
    <name>orvane::ContentView</name>
    <message>
        <source>Appearance</source>
        <translation>Erscheinungsbild</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Copy or export the whole report</source>
        <translation>Den ganzen Bericht kopieren oder exportieren</translation>
    </message>
    <message>
        <source>Refreshed</source>
        <translation>Aktualisiert</translation>
    </message>
</context>
<context>
    <name>orvane::Copyable</name>
    <message>
        <source>Copied!</source>
        <translation>Kopiert!</translation>
    </message>
    <message>
        <source>Click to copy</source>
        <translation>Zum Kopieren klicken</translation>
    </message>
</context>
<context>
    <name>orvane::DisplaysView</name>
    <message>
        <source>Graphics &amp; Displays</source>
        <translation>Grafik &amp; Displays</translation>
    </message>
    <message>
        <source>Reading display info…</source>
        <translation>Displayinformationen werden gelesen …</translation>
    </message>
    <message>
        <source>No Graphics</source>
        <translation>Keine Grafik</translation>
    </message>
    <message>
        <source>No graphics processors or displays were reported</source>
        <translation>Es wurden keine Grafikprozessoren oder Displays gemeldet</translation>
    </message>
</context>
<context>
    <name>orvane::HealthHistoryCard</name>
    <message>
        <source>Health History</source>
        <translation>Zustandsverlauf</translation>
    </message>
</context>
<context>
    <name>orvane::HistoryGraph</name>
    <message>
        <source>Processor and memory history</source>
        <translation>Verlauf von Prozessor und Arbeitsspeicher</translation>
    </message>
    <message>
        <source>2 min</source>
        <translation>2 Min.</translation>
    </message>
    <message>
        <source>1 min</source>
        <translation>1 Min.</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
</context>
<context>
    <name>orvane::JournalController</name>
    <message>
        <source>Record Health History</source>
        <translation>Zustandsverlauf aufzeichnen</translation>
    </message>
    <message>
        <source>Clear History…</source>
        <translation>Verlauf löschen …</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
    <message>
        <source>Clear the health history?</source>
        <translation>Den Zustandsverlauf löschen?</translation>
    </message>
    <message>
        <source>The recorded points of the battery and the volumes are deleted from this Mac. This cannot be undone.</source>
        <translation>Die aufgezeichneten Werte der Batterie und der Volumes werden von diesem Mac gelöscht. Das kann nicht widerrufen werden.</translation>
    </message>
    <message>
        <source>The recorded points of the battery and the volumes are deleted from this computer. This cannot be undone.</source>
        <translation>Die aufgezeichneten Werte der Batterie und der Volumes werden von diesem Computer gelöscht. Das kann nicht widerrufen werden.</translation>
    </message>
    <message>
        <source>The health history was started afresh</source>
        <translation>Der Zustandsverlauf wurde neu begonnen</translation>
    </message>
    <message>
        <source>The health history cannot be recorded</source>
        <translation>Der Zustandsverlauf kann nicht aufgezeichnet werden</translation>
    </message>
    <message>
        <source>The health history could not be cleared</source>
        <translation>Der Zustandsverlauf konnte nicht gelöscht werden</translation>
    </message>
</context>
<context>
    <name>orvane::OrvaneApp</name>
    <message>
        <source>About Orvane</source>
        <translation>Über Orvane</translation>
    </message>
</context>
<context>
    <name>orvane::OverviewView</name>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>At a Glance</source>
        <translation>Auf einen Blick</translation>
    </message>
</context>
<context>
    <name>orvane::PerformanceView</name>
    <message>
        <source>Performance</source>
        <translation>Leistung</translation>
    </message>
    <message>
        <source>Live CPU &amp; memory · updates every second</source>
        <translation>CPU &amp; Arbeitsspeicher live · jede Sekunde neu</translation>
    </message>
    <message>
        <source>CPU Load</source>
        <translation>CPU-Last</translation>
    </message>
    <message>
        <source>Memory Used</source>
        <translation>Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Per-Core Activity</source>
        <translation>Aktivität pro Kern</translation>
    </message>
    <message>
        <source>Memory Breakdown</source>
        <translation>Aufteilung des Arbeitsspeichers</translation>
    </message>
    <message>
        <source>Swap Used</source>
        <translation>Verwendeter Swap</translation>
    </message>
    <message>
        <source>Sampling…</source>
        <translation>Messung läuft …</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>No Processor Load</source>
        <translation>Keine Prozessorlast</translation>
    </message>
    <message>
        <source>Processor load is not available on this machine</source>
        <translation>Die Prozessorlast ist auf diesem Rechner nicht verfügbar</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Festplatte</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
</context>
<context>
    <name>orvane::RateGraph</name>
    <message>
        <source>Disk activity history</source>
        <translation>Verlauf der Festplattenaktivität</translation>
    </message>
    <message>
        <source>Network activity history</source>
        <translation>Verlauf der Netzwerkaktivität</translation>
    </message>
</context>
<context>
    <name>orvane::SensorsView</name>
    <message>
        <source>Sensors</source>
        <translation>Sensoren</translation>
    </message>
    <message>
        <source>Temperatures, fans and power · updates every second</source>
        <translation>Temperaturen, Lüfter und Leistung · jede Sekunde aktualisiert</translation>
    </message>
    <message>
        <source>Reading sensors…</source>
        <translation>Sensoren werden gelesen…</translation>
    </message>
    <message>
        <source>No Sensors</source>
        <translation>Keine Sensoren</translation>
    </message>
    <message>
        <source>This computer does not report temperatures, fans or power</source>
        <translation>Dieser Computer meldet keine Temperaturen, Lüfter oder Leistung</translation>
    </message>
</context>
<context>
    <name>orvane::SidebarList</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>orvane::StorageView</name>
    <message>
        <source>Storage</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Reading volumes…</source>
        <translation>Volumes werden gelesen …</translation>
    </message>
    <message>
        <source>No Volumes</source>
        <translation>Keine Volumes</translation>
    </message>
    <message>
        <source>No volumes were found</source>
        <translation>Es wurden keine Volumes gefunden</translation>
    </message>
</context>
<context>
    <name>orvane::VolumeCard</name>
    <message>
        <source>Last 90 days</source>
        <translation>Letzte 90 Tage</translation>
    </message>
</context>
</TS>
