// What tells a page's design and state apart: its address and load state,
// the texts an interstitial shows, and the inline scripts that carry one of
// the given markers (the data of pages whose own scripts never ran).
(function (markers, maxScriptChars) {
    var facts = { hasDocument: false, readyState: '', url: '', title: '', bodyClass: '',
                  text: '', formActions: [], hasSlider: false, scripts: [] };
    if (!document || !document.documentElement)
        return facts;
    facts.hasDocument = true;
    facts.readyState = document.readyState;
    facts.url = String(location.href);
    var titles = document.getElementsByTagName('title');
    if (titles.length > 0)
        facts.title = titles[0].innerText;
    if (document.body) {
        facts.bodyClass = document.body.className || '';
        facts.text = (document.body.innerText || '').slice(0, 2000);
    }
    var forms = document.getElementsByTagName('form');
    for (var f = 0; f < forms.length && f < 20; ++f)
        facts.formActions.push(String(forms[f].getAttribute('action') || ''));
    facts.hasSlider = !!document.querySelector('[id*="nocaptcha"],[class*="nocaptcha"]');
    var scripts = document.getElementsByTagName('script');
    var budget = maxScriptChars;
    for (var s = 0; s < scripts.length; ++s) {
        if (scripts[s].src)
            continue;
        var text = scripts[s].text;
        if (text.length > budget)
            continue;
        for (var m = 0; m < markers.length; ++m) {
            if (text.indexOf(markers[m]) >= 0) {
                facts.scripts.push(text);
                budget -= text.length;
                break;
            }
        }
    }
    return facts;
})
