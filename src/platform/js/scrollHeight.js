(function () {
    return document && document.body ? document.body.scrollHeight : null;
})()
