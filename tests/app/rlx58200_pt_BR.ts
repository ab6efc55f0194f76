<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>rlx58200</name>
    <message>
        <source>Conferência Fiscal</source>
        <translation>Conferência Fiscal [pt_BR]</translation>
    </message>
</context>
</TS>
