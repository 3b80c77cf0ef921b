# The interactive parts of a written document as qpdf sees them: qpdf's JSON (which decrypts)
# on standard input walked into flat "key<TAB>value" lines, one per fact: every field with its
# type, flags, options and values, every annotation with its rectangle, target and scripts,
# the catalog's scripts and the form's calculation order. Used by tests/support/pdf/tavlo_script.cpp.
import base64, io, json, sys
# qpdf writes the bytes of names as they are: keep any byte that is not UTF-8 unchanged.
sys.stdout = io.TextIOWrapper(sys.stdout.buffer, encoding='utf-8', errors='surrogateescape')
d = json.load(io.TextIOWrapper(sys.stdin.buffer, encoding='utf-8', errors='surrogateescape'))
objs = d['qpdf'][1]
def val(x):
    while isinstance(x, str) and x.endswith(' 0 R') and ('obj:' + x) in objs:
        o = objs['obj:' + x]
        if 'stream' in o:
            return o
        x = o['value']
    return x
def text(x):
    x = val(x)
    if isinstance(x, dict) and 'stream' in x:
        raw = base64.b64decode(x['stream'].get('data', ''))
        if raw.startswith(b'\xfe\xff'):
            return raw[2:].decode('utf-16-be', 'replace')
        return raw.decode('cp1252', 'replace')
    if isinstance(x, str) and x.startswith('u:'):
        return x[2:]
    if isinstance(x, str) and x.startswith('b:'):
        return bytes.fromhex(x[2:]).decode('cp1252', 'replace')
    if isinstance(x, list):
        return ' '.join(text(i) for i in x)
    if isinstance(x, float) and x == int(x):
        x = int(x)
    return str(x)
def out(k, v):
    s = text(v) if not isinstance(v, str) or v.startswith(('u:', 'b:')) or v.endswith(' 0 R') else v
    s = s.replace('\\', '\\\\').replace('\r', '\\r').replace('\n', '\\n').replace('\t', '\\t')
    sys.stdout.write(k + '\t' + s + '\n')
def script(prefix, action):
    action = val(action)
    n = 0
    queue = [action]
    while queue:
        a = val(queue.pop(0))
        if not isinstance(a, dict):
            continue
        n += 1
        key = prefix if n == 1 else prefix + '.next' + str(n - 1)
        out(key + '.type', a.get('/S', ''))
        if '/JS' in a: out(key + '.js', a['/JS'])
        if '/URI' in a: out(key + '.uri', a['/URI'])
        if '/F' in a: out(key + '.file', a['/F'])
        if '/D' in a: out(key + '.dest', a['/D'])
        nxt = a.get('/Next')
        if nxt is not None:
            nxt = val(nxt)
            queue.extend(nxt if isinstance(nxt, list) else [nxt])
trailer = objs['trailer']['value']
root = val(trailer['/Root'])
pages = []
def walk(node):
    node = val(node)
    if node.get('/Type') == '/Pages':
        for k in val(node['/Kids']): walk(k)
    else:
        pages.append(node)
ref_of = {}
def collect(node):
    for k in val(val(node)['/Kids']):
        n = val(k)
        if n.get('/Type') == '/Pages': collect(k)
        else: ref_of[k] = len(ref_of) + 1
collect(root['/Pages'])
walk(root['/Pages'])
dests = val(root.get('/Dests', {}))
def dest(prefix, dv):
    dv = val(dv)
    if isinstance(dv, str) and dv.startswith('/'):
        out(prefix + '.name', dv)
        dv = val(dests.get(dv))
    if isinstance(dv, list) and dv:
        out(prefix + '.page', ref_of.get(dv[0], dv[0]))
        out(prefix + '.view', ' '.join(text(i) for i in dv[1:]))
out('pages', len(pages))
for i, page in enumerate(pages, 1):
    p = 'page%d' % i
    for k, a in val(page.get('/AA', {})).items():
        script(p + '.aa' + k, a)
    for j, ref in enumerate(val(page.get('/Annots', [])), 1):
        a = val(ref)
        q = '%s.annot%d' % (p, j)
        r = [float(v) for v in val(a['/Rect'])]
        out(q + '.rect', ' '.join('%g' % v for v in (min(r[0], r[2]), min(r[1], r[3]), max(r[0], r[2]), max(r[1], r[3]))))
        for k in ('/Subtype', '/T', '/TU', '/FT', '/Ff', '/F', '/V', '/DV', '/Contents', '/DA', '/Name', '/Open', '/C', '/Q', '/MaxLen', '/H', '/Border'):
            if k in a: out(q + '.' + k[1:], a[k])
        if '/Opt' in a: out(q + '.Opt', '|'.join(text(o) for o in val(a['/Opt'])))
        if '/MK' in a:
            for k, v in val(a['/MK']).items(): out(q + '.MK' + k, v)
        if '/BS' in a:
            for k, v in val(a['/BS']).items(): out(q + '.BS' + k, v)
        if '/P' in a: out(q + '.P', ref_of.get(a['/P'], 'not a page'))
        if '/Dest' in a: dest(q + '.dest', a['/Dest'])
        if '/A' in a: script(q + '.A', a['/A'])
        for k, v in val(a.get('/AA', {})).items(): script(q + '.AA' + k, v)
if '/OpenAction' in root: script('catalog.open', root['/OpenAction'])
for k, a in val(root.get('/AA', {})).items(): script('catalog.aa' + k, a)
names = val(val(root.get('/Names', {})).get('/JavaScript', {}))
if names:
    arr = val(names.get('/Names', []))
    for j in range(0, len(arr), 2): script('catalog.js.' + text(arr[j]), arr[j + 1])
form = val(root.get('/AcroForm'))
if form:
    out('form.need', form.get('/NeedAppearances', ''))
    out('form.fields', ' '.join(text(val(f).get('/T', '')) for f in val(form.get('/Fields', []))))
    out('form.co', ' '.join(text(val(f).get('/T', '')) for f in val(form.get('/CO', []))))
    out('form.fonts', ' '.join(val(val(form.get('/DR', {})).get('/Font', {})).keys()))
