<?php $page = "café"; ?>
<html>
<head>
<title>Café Müller – Kaffee und Kuchen</title>
</head>
<body>
<p>Im Café Müller gibt es Kaffee und Kuchen. Kaffee und Kuchen jeden Tag, Äpfel-Kuchen am Sonntag.</p>
<p>ÄPFEL-KUCHEN ist unser Klassiker: Kaffee und Kuchen im Garten.</p>
</body>
</html>
