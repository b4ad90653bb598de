// Reads what the picture extraction needs: the first <title> and the wanted
// <div>s in document order with their inner HTML. The inner HTML is written
// like the browser's own serialiser, except that attribute values are shown
// as they are: galleries keep JSON with '"' and '&' in their attributes.
(function (wantedIds) {
    var result = { hasDocument: false, hasBody: false, title: '', divs: [] };
    if (!document || !document.documentElement)
        return result;
    result.hasDocument = true;
    result.hasBody = !!document.body;
    var titles = document.getElementsByTagName('title');
    if (titles.length > 0)
        result.title = titles[0].innerText;

    var voidTags = { area: 1, base: 1, br: 1, col: 1, embed: 1, hr: 1, img: 1, input: 1, link: 1,
                     meta: 1, param: 1, source: 1, track: 1, wbr: 1, basefont: 1, bgsound: 1,
                     frame: 1, keygen: 1 };
    var rawText = { style: 1, script: 1, xmp: 1, iframe: 1, noembed: 1, noframes: 1,
                    plaintext: 1, noscript: 1 };

    function escapeText(text) {
        return text.replace(/&/g, '&amp;').replace(/\u00a0/g, '&nbsp;')
                   .replace(/</g, '&lt;').replace(/>/g, '&gt;');
    }

    function serializeChildren(node, out) {
        for (var child = node.firstChild; child; child = child.nextSibling)
            serializeNode(child, node, out);
    }

    function serializeElement(element, out) {
        var tag = element.localName;
        out.push('<' + tag);
        for (var i = 0; i < element.attributes.length; ++i) {
            var attribute = element.attributes[i];
            out.push(' ' + attribute.name + '="' + attribute.value + '"');
        }
        out.push('>');
        if (voidTags[tag])
            return;
        serializeChildren(tag === 'template' ? element.content : element, out);
        out.push('</' + tag + '>');
    }

    function serializeNode(node, parent, out) {
        switch (node.nodeType) {
        case 1: serializeElement(node, out); break;
        case 3: out.push(parent && rawText[parent.localName] ? node.data : escapeText(node.data)); break;
        case 4: out.push('<![CDATA[' + node.data + ']]>'); break;
        case 7: out.push('<?' + node.target + ' ' + node.data + '>'); break;
        case 8: out.push('<!--' + node.data + '-->'); break;
        default: break;
        }
    }

    var divs = document.getElementsByTagName('div');
    for (var d = 0; d < divs.length; ++d) {
        var div = divs[d];
        if (wantedIds.length > 0 && wantedIds.indexOf(div.id) < 0)
            continue;
        var out = [];
        serializeChildren(div, out);
        result.divs.push({ id: div.id, html: out.join('') });
    }
    return result;
})
