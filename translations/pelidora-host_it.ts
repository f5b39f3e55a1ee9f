<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>pelidora::host::DesignCommands</name>
    <message>
        <source>Add %1</source>
        <translation>Aggiungi %1</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>Elimina %1</translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation>Sposta %1</translation>
    </message>
    <message>
        <source>Rename %1 to %2</source>
        <translation>Rinomina %1 in %2</translation>
    </message>
    <message>
        <source>Set %1.%2</source>
        <translation>Imposta %1.%2</translation>
    </message>
    <message>
        <source>Set the form&apos;s %1</source>
        <translation>Imposta %1 del modulo</translation>
    </message>
</context>
<context>
    <name>pelidora::host::DesignWindow</name>
    <message>
        <source>Save the changes to %1?</source>
        <translation>Salvare le modifiche a %1?</translation>
    </message>
    <message>
        <source>%1.%2 changed</source>
        <translation>%1.%2 modificato</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salva</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Esegui</translation>
    </message>
    <message>
        <source>Save and run the form (F5)</source>
        <translation>Salva ed esegue il modulo (F5)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Modifica</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annulla</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ripeti</translation>
    </message>
    <message>
        <source>&amp;Add date box</source>
        <translation>A&amp;ggiungi casella data</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Elimina</translation>
    </message>
    <message>
        <source>Delete the selected date box (Delete key on the form)</source>
        <translation>Elimina la casella data selezionata (tasto Canc sul modulo)</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Modulo</translation>
    </message>
    <message>
        <source>Designing %1: drag a box to move it; click a box, or the form, for its properties</source>
        <translation>Progettazione di %1: trascinare una casella per spostarla; fare clic su una casella, o sul modulo, per le sue proprietà</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>Salvato %1</translation>
    </message>
    <message>
        <source>Added %1</source>
        <translation>Aggiunto %1</translation>
    </message>
    <message>
        <source>Deleted %1</source>
        <translation>Eliminato %1</translation>
    </message>
    <message>
        <source>%1 — %2[*] — pelidora-host design</source>
        <translation>%1 — %2[*] — pelidora-host progettazione</translation>
    </message>
    <message>
        <source>● Unsaved changes</source>
        <translation>● Modifiche non salvate</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Salvato</translation>
    </message>
</context>
<context>
    <name>pelidora::host::EventLog</name>
    <message>
        <source>Time</source>
        <translation>Ora</translation>
    </message>
    <message>
        <source>Box</source>
        <translation>Casella</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Dettagli</translation>
    </message>
    <message>
        <source>ButtonDay %1, SelMonth %2, SelYear %3, X %4, Y %5 (%6 %7)</source>
        <extracomment>The event&apos;s arguments by their names, then how many ticks the entry gathers.</extracomment>
        <translation>ButtonDay %1, SelMonth %2, SelYear %3, X %4, Y %5 (%6 %7)</translation>
    </message>
    <message>
        <source>tick</source>
        <translation>scatto</translation>
    </message>
    <message>
        <source>ticks</source>
        <translation>scatti</translation>
    </message>
</context>
<context>
    <name>pelidora::host::FormHost</name>
    <message>
        <source>not a box of this form</source>
        <translation>non è una casella di questo modulo</translation>
    </message>
    <message>
        <source>A date box needs a name.</source>
        <translation>Una casella data deve avere un nome.</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; is already used on this form (names ignore case).</source>
        <translation>Il nome &quot;%1&quot; è già usato in questo modulo (i nomi non distinguono maiuscole e minuscole).</translation>
    </message>
</context>
<context>
    <name>pelidora::host::HelpMenu</name>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aiuto</translation>
    </message>
    <message>
        <source>&amp;About Pelidora</source>
        <translation>&amp;Informazioni su Pelidora</translation>
    </message>
    <message>
        <source>Show the date box&apos;s About box (F1)</source>
        <translation>Mostra le informazioni della casella data (F1)</translation>
    </message>
</context>
<context>
    <name>pelidora::host::PropertyBrowser</name>
    <message>
        <source>%1 pt</source>
        <translation>%1 pt</translation>
    </message>
    <message>
        <source>bold</source>
        <translation>grassetto</translation>
    </message>
    <message>
        <source>italic</source>
        <translation>corsivo</translation>
    </message>
    <message>
        <source>underline</source>
        <translation>sottolineato</translation>
    </message>
    <message>
        <source>strikeout</source>
        <translation>barrato</translation>
    </message>
    <message>
        <source>The name a program and the form file use for this date box.</source>
        <translation>Il nome con cui un programma e il file del modulo indicano questa casella data.</translation>
    </message>
    <message>
        <source>The text in the form&apos;s title bar.</source>
        <translation>Il testo nella barra del titolo del modulo.</translation>
    </message>
    <message>
        <source>The width of the form, in pixels.</source>
        <translation>La larghezza del modulo, in pixel.</translation>
    </message>
    <message>
        <source>The height of the form, in pixels.</source>
        <translation>L&apos;altezza del modulo, in pixel.</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Not set: &quot;%1&quot; is not a valid value.</source>
        <translation>Non impostato: &quot;%1&quot; non è un valore valido.</translation>
    </message>
    <message>
        <source>Not set. Run-time error %1: %2</source>
        <translation>Non impostato. Errore di run-time %1: %2</translation>
    </message>
    <message>
        <source>Read back as %1 (entered: %2).</source>
        <translation>Riletto come %1 (inserito: %2).</translation>
    </message>
    <message>
        <source>Form  (click a date box to see its properties)</source>
        <translation>Modulo  (fare clic su una casella data per vederne le proprietà)</translation>
    </message>
    <message>
        <source>No date box selected</source>
        <translation>Nessuna casella data selezionata</translation>
    </message>
    <message>
        <source>Select a property to see what it does.</source>
        <translation>Selezionare una proprietà per vedere a cosa serve.</translation>
    </message>
</context>
<context>
    <name>pelidora::host::RunWindow</name>
    <message>
        <source>Date boxes</source>
        <translation>Caselle data</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Eventi</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Svuota</translation>
    </message>
    <message>
        <source>Pick a date in a panel to see Click and DayMouseMove.</source>
        <translation>Scegliere una data in un pannello per vedere Click e DayMouseMove.</translation>
    </message>
    <message>
        <source>%1 — pelidora-host</source>
        <translation>%1 — pelidora-host</translation>
    </message>
    <message>
        <source>%1 · %2 date %3 · today %4</source>
        <extracomment>File, number of date boxes, &quot;box&quot; or &quot;boxes&quot; (the words below), today&apos;s date.</extracomment>
        <translation>%1 · %2 %3 · oggi %4</translation>
    </message>
    <message>
        <source>box</source>
        <translation>casella data</translation>
    </message>
    <message>
        <source>boxes</source>
        <translation>caselle data</translation>
    </message>
    <message>
        <source>Running %1</source>
        <translation>Esecuzione di %1</translation>
    </message>
    <message>
        <source>Read DateSet</source>
        <translation>Leggi DateSet</translation>
    </message>
    <message>
        <source>Reads %1.DateSet, as a program would</source>
        <translation>Legge %1.DateSet, come farebbe un programma</translation>
    </message>
    <message>
        <source>This form has no date boxes.</source>
        <translation>Questo modulo non ha caselle data.</translation>
    </message>
</context>
<context>
    <name>pelidora::host::SystemColors</name>
    <message>
        <source>Scroll Bars</source>
        <translation>Barre di scorrimento</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Active Title Bar</source>
        <translation>Barra del titolo attiva</translation>
    </message>
    <message>
        <source>Inactive Title Bar</source>
        <translation>Barra del titolo inattiva</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Window Background</source>
        <translation>Sfondo della finestra</translation>
    </message>
    <message>
        <source>Window Frame</source>
        <translation>Cornice della finestra</translation>
    </message>
    <message>
        <source>Menu Text</source>
        <translation>Testo dei menu</translation>
    </message>
    <message>
        <source>Window Text</source>
        <translation>Testo della finestra</translation>
    </message>
    <message>
        <source>Active Title Bar Text</source>
        <translation>Testo della barra del titolo attiva</translation>
    </message>
    <message>
        <source>Active Border</source>
        <translation>Bordo attivo</translation>
    </message>
    <message>
        <source>Inactive Border</source>
        <translation>Bordo inattivo</translation>
    </message>
    <message>
        <source>Application Workspace</source>
        <translation>Area di lavoro dell&apos;applicazione</translation>
    </message>
    <message>
        <source>Highlight</source>
        <translation>Evidenziazione</translation>
    </message>
    <message>
        <source>Highlight Text</source>
        <translation>Testo evidenziato</translation>
    </message>
    <message>
        <source>Button Face</source>
        <translation>Superficie dei pulsanti</translation>
    </message>
    <message>
        <source>Button Shadow</source>
        <translation>Ombra dei pulsanti</translation>
    </message>
    <message>
        <source>Disabled Text</source>
        <translation>Testo disattivato</translation>
    </message>
    <message>
        <source>Button Text</source>
        <translation>Testo dei pulsanti</translation>
    </message>
    <message>
        <source>Inactive Title Bar Text</source>
        <translation>Testo della barra del titolo inattiva</translation>
    </message>
    <message>
        <source>Button Highlight</source>
        <translation>Luce dei pulsanti</translation>
    </message>
    <message>
        <source>Button Dark Shadow</source>
        <translation>Ombra scura dei pulsanti</translation>
    </message>
    <message>
        <source>Button Light Shadow</source>
        <translation>Ombra chiara dei pulsanti</translation>
    </message>
    <message>
        <source>ToolTip Text</source>
        <translation>Testo dei suggerimenti</translation>
    </message>
    <message>
        <source>ToolTip</source>
        <translation>Suggerimento</translation>
    </message>
    <message>
        <source>Hot Tracking</source>
        <translation>Elemento sotto il puntatore</translation>
    </message>
    <message>
        <source>Active Title Bar Gradient</source>
        <translation>Sfumatura della barra del titolo attiva</translation>
    </message>
    <message>
        <source>Inactive Title Bar Gradient</source>
        <translation>Sfumatura della barra del titolo inattiva</translation>
    </message>
    <message>
        <source>Menu Highlight</source>
        <translation>Evidenziazione dei menu</translation>
    </message>
    <message>
        <source>Menu Bar</source>
        <translation>Barra dei menu</translation>
    </message>
    <message>
        <source>System colour %1</source>
        <translation>Colore di sistema %1</translation>
    </message>
</context>
</TS>
