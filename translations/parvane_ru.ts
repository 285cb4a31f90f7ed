<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CompareWindow</name>
    <message>
        <source>Compare with %1</source>
        <translation>Сравнение с %1</translation>
    </message>
</context>
<context>
    <name>DifferenceModel</name>
    <message>
        <source>changed</source>
        <translation>изменено</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>отклонено</translation>
    </message>
    <message>
        <source>only here</source>
        <translation>только здесь</translation>
    </message>
    <message>
        <source>only there</source>
        <translation>только там</translation>
    </message>
    <message numerus="yes">
        <source>changed (%n)</source>
        <translation>
            <numerusform>изменено (%n)</numerusform>
            <numerusform>изменено (%n)</numerusform>
            <numerusform>изменено (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>refused (%n)</source>
        <translation>
            <numerusform>отклонено (%n)</numerusform>
            <numerusform>отклонено (%n)</numerusform>
            <numerusform>отклонено (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>only here (%n)</source>
        <translation>
            <numerusform>только здесь (%n)</numerusform>
            <numerusform>только здесь (%n)</numerusform>
            <numerusform>только здесь (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>only there (%n)</source>
        <translation>
            <numerusform>только там (%n)</numerusform>
            <numerusform>только там (%n)</numerusform>
            <numerusform>только там (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Изменение</translation>
    </message>
    <message>
        <source>Parameter path</source>
        <translation>Путь параметра</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>Текущее значение</translation>
    </message>
    <message>
        <source>Other value</source>
        <translation>Другое значение</translation>
    </message>
</context>
<context>
    <name>DifferenceView</name>
    <message numerus="yes">
        <source>All (%n)</source>
        <translation>
            <numerusform>все (%n)</numerusform>
            <numerusform>все (%n)</numerusform>
            <numerusform>все (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Show:</source>
        <translation>Показать:</translation>
    </message>
    <message>
        <source>The files hold the same values.</source>
        <translation>Значения в файлах совпадают.</translation>
    </message>
</context>
<context>
    <name>DocumentSession</name>
    <message>
        <source>Save file before opening another?</source>
        <translation>Сохранить файл перед открытием другого?</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Недостаточно памяти</translation>
    </message>
    <message>
        <source>Confirm Save As</source>
        <translation>Подтверждение сохранения</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 уже существует.
Заменить его?</translation>
    </message>
    <message>
        <source>Import from %1</source>
        <comment>the name of an import&apos;s undo step</comment>
        <translation>Импорт из %1</translation>
    </message>
</context>
<context>
    <name>EntryMenu</name>
    <message>
        <source>%1 &quot;%2&quot;</source>
        <comment>undo or redo and the step&apos;s name</comment>
        <translation>%1 «%2»</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Copy value</source>
        <translation>Копировать значение</translation>
    </message>
    <message>
        <source>Copy path</source>
        <translation>Копировать путь</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Найти...</translation>
    </message>
    <message>
        <source>Next changed</source>
        <translation>Следующий изменённый</translation>
    </message>
</context>
<context>
    <name>FileOpenEdit</name>
    <message>
        <source>Open file</source>
        <translation>Открыть файл</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find:</source>
        <translation>Найти:</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 из %2</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>не найдено</translation>
    </message>
</context>
<context>
    <name>ImportPreviewWindow</name>
    <message>
        <source>Import from %1: preview</source>
        <translation>Импорт из %1: просмотр</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Импортировать</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>RecordDetails</name>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message numerus="yes">
        <source> ... (%n bytes)</source>
        <translation>
            <numerusform> ... (%n байт)</numerusform>
            <numerusform> ... (%n байта)</numerusform>
            <numerusform> ... (%n байт)</numerusform>
        </translation>
    </message>
    <message>
        <source>changed, imported</source>
        <translation>изменено, импортировано</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>изменено</translation>
    </message>
    <message>
        <source>imported</source>
        <translation>импортировано</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>без изменений</translation>
    </message>
    <message>
        <source>range: %1 .. %2</source>
        <translation>диапазон: %1 .. %2</translation>
    </message>
    <message>
        <source>path: </source>
        <translation>путь: </translation>
    </message>
    <message>
        <source>occurrence: %1</source>
        <translation>повтор: %1</translation>
    </message>
    <message>
        <source>offset: </source>
        <translation>смещение: </translation>
    </message>
    <message>
        <source>payload: </source>
        <translation>данные: </translation>
    </message>
    <message>
        <source>before the import: </source>
        <translation>до импорта: </translation>
    </message>
    <message numerus="yes">
        <source>block not read: loading stopped here
offset: %1
kept: %n bytes from here to the end, written back as they are</source>
        <translation>
            <numerusform>блок не прочитан: загрузка остановлена здесь
смещение: %1
сохранён %n байт отсюда до конца, записывается обратно без изменений</numerusform>
            <numerusform>блок не прочитан: загрузка остановлена здесь
смещение: %1
сохранено %n байта отсюда до конца, записываются обратно без изменений</numerusform>
            <numerusform>блок не прочитан: загрузка остановлена здесь
смещение: %1
сохранено %n байт отсюда до конца, записываются обратно без изменений</numerusform>
        </translation>
    </message>
    <message>
        <source>unsigned integer</source>
        <translation>целое без знака</translation>
    </message>
    <message>
        <source>signed integer</source>
        <translation>целое со знаком</translation>
    </message>
    <message>
        <source>choice of %1</source>
        <translation>выбор из %1</translation>
    </message>
    <message>
        <source>coordinates X, Y</source>
        <translation>координаты X, Y</translation>
    </message>
    <message>
        <source>colour R, G, B, alpha</source>
        <translation>цвет R, G, B, альфа</translation>
    </message>
    <message>
        <source>section</source>
        <translation>раздел</translation>
    </message>
    <message>
        <source>section end</source>
        <translation>конец раздела</translation>
    </message>
    <message>
        <source>check box</source>
        <translation>флажок</translation>
    </message>
    <message>
        <source>time</source>
        <translation>время</translation>
    </message>
    <message>
        <source>date</source>
        <translation>дата</translation>
    </message>
    <message>
        <source>rectangle X1, Y1, X2, Y2</source>
        <translation>прямоугольник X1, Y1, X2, Y2</translation>
    </message>
    <message>
        <source>type %1</source>
        <translation>тип %1</translation>
    </message>
    <message>
        <source>text, UTF-8 with escape marks</source>
        <translation>текст, UTF-8 с экранированием</translation>
    </message>
    <message>
        <source>password</source>
        <translation>пароль</translation>
    </message>
    <message>
        <source>text</source>
        <translation>текст</translation>
    </message>
    <message>
        <source>text, UTF-8</source>
        <translation>текст, UTF-8</translation>
    </message>
    <message numerus="yes">
        <source>%1, up to %n bytes</source>
        <translation>
            <numerusform>%1, до %n байта</numerusform>
            <numerusform>%1, до %n байт</numerusform>
            <numerusform>%1, до %n байт</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Compare with file</source>
        <translation>Сравнение с файлом</translation>
    </message>
    <message>
        <source>Import with preview</source>
        <translation>Импорт с просмотром</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Сравнить с файлом...</translation>
    </message>
    <message>
        <source>Import with preview...</source>
        <translation>Импорт с просмотром...</translation>
    </message>
</context>
</TS>
