<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>pelidora::MonthPanel</name>
    <message>
        <source>Day</source>
        <translation>Giorno</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Mese</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Anno</translation>
    </message>
</context>
<context>
    <name>pelidora::fabout</name>
    <message>
        <source>version</source>
        <extracomment>The word before the version number in the About box&apos;s title line.</extracomment>
        <translation>versione</translation>
    </message>
    <message>
        <source>for comments or bugs send e-mail to address:</source>
        <translation>per commenti o errori scrivere all&apos;indirizzo:</translation>
    </message>
    <message>
        <source>or check for updates on the web:</source>
        <translation>o cercare aggiornamenti sul web:</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>File non trovato.</translation>
    </message>
    <message>
        <source>Path not found.</source>
        <translation>Percorso non trovato.</translation>
    </message>
    <message>
        <source>Access denied.</source>
        <translation>Accesso negato.</translation>
    </message>
    <message>
        <source>Incomplete association type of file.</source>
        <translation>Associazione del tipo di file incompleta.</translation>
    </message>
    <message>
        <source>Missing association type of file.</source>
        <translation>Associazione del tipo di file mancante.</translation>
    </message>
    <message>
        <source>Generic access file error.</source>
        <translation>Errore generico di accesso al file.</translation>
    </message>
    <message>
        <source>Made in Example City</source>
        <extracomment>The About box&apos;s city line.</extracomment>
        <translation>Realizzato a Example City</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
</context>
<context>
    <name>pelidora::ucvPelidora</name>
    <message>
        <source>Open calendar</source>
        <translation>Apri calendario</translation>
    </message>
    <message>
        <source>Can&apos;t assign font size greater than 12.</source>
        <translation>Impossibile assegnare una dimensione del carattere maggiore di 12.</translation>
    </message>
    <message>
        <source>No date</source>
        <translation>Nessuna data</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Giorno</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Mese</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Anno</translation>
    </message>
</context>
</TS>
