# The events of XML documents as Python's XML parser (expat) reads them, namespaces resolved,
# in the form sheets_xml_test.cpp prints its parser's events in: for each file given, one
# line an event, then a line "----".
#   <N:name N:attribute=value ...   an element begins (attributes in order of namespace and name)
#   T:text                          the text between two tags, entities resolved
#   >N:name                         the element ends
#   ERRORE                          the document is refused
# N: 1 for urn:a, 2 for urn:b, 3 for the XML namespace, 0 for none, -1 for any other.
import io
import sys
import xml.sax

NOTI = {'urn:a': 1, 'urn:b': 2, 'http://www.w3.org/XML/1998/namespace': 3}


def numero(uri):
    return 0 if uri is None else NOTI.get(uri, -1)


def testo(t):
    return t.replace('\\', '\\\\').replace('\n', '\\n').replace('\r', '\\r').replace('\t', '\\t')


class Eventi(xml.sax.handler.ContentHandler):
    def __init__(self):
        super().__init__()
        self.righe = []
        self.testo = None

    def _testo(self):
        if self.testo is not None:
            self.righe.append('T:' + testo(self.testo))
            self.testo = None

    def startElementNS(self, nome, qname, attributi):
        self._testo()
        voci = sorted((numero(u), l, v) for (u, l), v in attributi.items())
        self.righe.append('<%d:%s' % (numero(nome[0]), nome[1])
                          + ''.join(' %d:%s=%s' % (n, l, testo(v)) for n, l, v in voci))

    def endElementNS(self, nome, qname):
        self._testo()
        self.righe.append('>%d:%s' % (numero(nome[0]), nome[1]))

    def characters(self, c):
        self.testo = (self.testo or '') + c


for percorso in sys.argv[1:]:
    with open(percorso, 'rb') as f:
        dati = f.read()
    lettore = xml.sax.make_parser()
    lettore.setFeature(xml.sax.handler.feature_namespaces, True)
    eventi = Eventi()
    lettore.setContentHandler(eventi)
    try:
        lettore.parse(io.BytesIO(dati))
        print('\n'.join(eventi.righe))
    except xml.sax.SAXException:
        print('ERRORE')
    print('----')
